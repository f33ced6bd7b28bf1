#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

/// The body of a document being written: paragraphs and tables in reading
/// order, and the pictures they embed.
struct DocxContent
{
    /// A4 portrait with margins of 3 cm left, 1.5 cm right and 2 cm top and bottom, in twips.
    static constexpr int PageWidth = 11906;
    static constexpr int PageHeight = 16838;
    static constexpr int MarginLeft = 1701;
    static constexpr int MarginRight = 850;
    static constexpr int MarginTop = 1134;
    static constexpr int MarginBottom = 1134;
    static constexpr int TextWidth = PageWidth - MarginLeft - MarginRight;

    /// Character formatting as the holder remembers it; values as Word takes them.
    struct Font
    {
        QString name;         // empty: the document's default font
        qint32 size = 0;      // points; 0 or less: the default size
        qint32 bold = 0;      // 0 off, anything else on
        qint32 italic = 0;    // 0 off, anything else on
        qint32 underline = 0; // Word's underline kinds (1 single, 3 double, ...); 0 none
        bool operator==(const Font&) const = default;
    };

    /// Text in one font, or one picture.
    struct Run
    {
        Font font;
        QString text;     // may hold '\t' (tab), '\v' (line break) and '\f' (page break)
        int picture = -1; // index into pictures; the run is that picture alone
        qint64 widthEmu = 0;
        qint64 heightEmu = 0;
    };

    /// How a paragraph meets a page break.
    struct ParagraphFormat
    {
        bool keepWithNext = false; // on the same page as the next paragraph (or the first row of a table)
        bool keepTogether = false; // all its lines on one page
        bool operator==(const ParagraphFormat&) const = default;
    };

    struct Paragraph
    {
        std::vector<Run> runs;
        std::optional<Font> mark; // the font of the paragraph mark, as it was when the paragraph ended
        ParagraphFormat format;
        bool isEmpty() const { return runs.empty(); }
    };

    struct Table;
    using Block = std::variant<Paragraph, std::unique_ptr<Table>>;
    /// Blocks of the body or of a cell; a story always ends with a paragraph.
    using Story = std::vector<Block>;

    struct Cell
    {
        Story blocks;
        bool upward = false; // text runs bottom to top
    };

    enum class Border { Single, Double, Triple };
    enum class RowAlignment { Left, Center, Right };

    struct Table
    {
        int rows = 0;
        int columns = 0;
        std::vector<int> widths; // per column, twips
        std::vector<Cell> cells; // row by row
        Border outside = Border::Single;
        std::optional<RowAlignment> alignment;
        bool headingRow = false;
        bool stretched = false;

        Cell& cell(int row, int column) { return cells[size_t(row * columns + column)]; }
        const Cell& cell(int row, int column) const { return cells[size_t(row * columns + column)]; }
    };

    /// An embedded image file, kept byte for byte.
    struct Picture
    {
        QByteArray bytes;
        QString extension;   // "bmp", "png", ...
        QString contentType; // "image/bmp", ...
    };

    Story body;
    std::vector<Picture> pictures;
};
