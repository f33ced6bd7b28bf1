#pragma once

#include "report/DocxContent.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

/// The document writer of the reports and the questionnaire: writes a new
/// document from top to bottom at an insertion point (text in the remembered
/// font, tables and their cells, pictures) and on Close saves it as a .docx file
/// in the data folder's "Отчеты" and hands it to the user.
///
/// Arguments outside what a document can hold (a cell that does not exist, a
/// call before NewDocument or a table operation before AddTable) throw
/// std::logic_error; failures of the file system throw OptivarError. Nothing
/// reaches the disk before Close, so a failed export leaves no document behind.
class TFormWord final
{
public:
    /// What the document is; its name says so.
    enum class Kind { ShortReport, FullReport, Questionnaire };

    /// Opens a saved document for the user; false when nothing could open it.
    using Opener = std::function<bool(const QString& path)>;
    using Clock = std::function<QDateTime()>;

    /// Where Close puts the document and how it hands it over.
    struct Destination
    {
        QString dataDir;     // the documents go into its folder "Отчеты"
        QString problemName; // the problem the document is about, first part of the file name
        Kind kind = Kind::FullReport;
        Opener open; // empty: the document is saved and not opened
        Clock now;   // empty: the current local time
    };

    /// Texts, cell texts and font names are cut to this many characters.
    static constexpr int MaxTextLength = 255;
    /// The largest font size Word accepts, in points.
    static constexpr int MaxFontSize = 1638;
    /// The largest table Word makes.
    static constexpr int MaxRows = 32767;
    static constexpr int MaxColumns = 63;
    /// Column widths and picture sides are at most 22 inches.
    static constexpr double MaxLengthCm = 55.88;

    explicit TFormWord(Destination destination);
    ~TFormWord();
    Q_DISABLE_COPY_MOVE(TFormWord)

    /// Starts a new empty document with the insertion point at its start. With
    /// visible false Close saves the document without opening it.
    void NewDocument(bool visible);
    /// Remembers the name unless empty and the size unless 0 or less; the three
    /// flags are always replaced.
    void SetFont(const QString& name, qint32 size, qint32 bold, qint32 italic, qint32 underline);
    /// Types text at the insertion point in the remembered font; a carriage
    /// return and a line feed each end a paragraph.
    void WriteText(const QString& text);
    /// Types a line and its end as two pieces: text longer than 255 characters
    /// is cut, and the line still ends where it would have ended.
    void writeLine(const QString& text, QStringView lineEnd = u"\r");
    /// "\n\r", the line end of the reports that leaves an empty line under the
    /// line: a line feed and a carriage return each end a paragraph.
    static QString endLine();
    /// Sets how the paragraph at the insertion point meets a page break; the
    /// paragraphs that line ends begin from it take the same format.
    void setParagraphFormat(bool keepWithNext, bool keepTogether);
    /// An empty rows x columns table at the insertion point, which moves into
    /// its first cell. Border style 1, 2, 3: single, double, triple outside
    /// line; alignment 0, 1, 2: rows left, centred, right; heading row 1: the
    /// first row repeats on every page. Other values leave the defaults.
    void AddTable(qint32 rows, qint32 columns, qint32 borderStyle, qint32 alignment, qint32 headingRow);
    /// The alignment step of AddTable, on the current table.
    void AlignRows(qint32 alignment);
    /// The heading-row step of AddTable, on the current table.
    void MarkHeadingRow(qint32 headingRow);
    /// Width of one column (from 1) of the current table; the others keep theirs.
    void SetColumnWidth(qint32 column, double widthCm);
    /// Replaces the text of a cell (row and column from 1) of the current
    /// table; the insertion point stays in the cell behind the text.
    void WriteCell(qint32 row, qint32 column, const QString& text);
    /// As WriteCell, with the cell's text running from bottom to top.
    void WriteCellUpward(qint32 row, qint32 column, const QString& text);
    /// The current table takes the full width between the margins.
    void StretchTable();
    /// Moves the insertion point to the very end of the document, after any table.
    void GoToEnd();
    /// Embeds an image file (BMP, PNG, JPEG or GIF) at the insertion point,
    /// scaled to exactly the given size whatever its own proportions. Throws
    /// OptivarError when the file is missing, unreadable or not an image.
    void InsertPicture(const QString& fileName, qint32 widthCm, qint32 heightCm);
    /// Saves the document as a new file, never replacing one, and opens it when
    /// it was made visible; returns the file's path. The document is finished:
    /// writing again needs NewDocument.
    QString Close();

    const QString& FontName() const { return m_font.name; }
    qint32 FontSize() const { return m_font.size; }
    qint32 FontBold() const { return m_font.bold; }
    qint32 FontItalic() const { return m_font.italic; }
    qint32 FontUnderline() const { return m_font.underline; }

    /// The .docx file of the document as it stands, dated stamp.
    QByteArray documentBytes(const QDateTime& stamp) const;

    /// The name Close gives a document: "<problem> <kind> <yyyy-MM-dd HH-mm-ss>.docx",
    /// with " (copy)" before the extension from the second copy on. Characters a
    /// file name cannot hold become "_", and the problem's name is cut so the
    /// whole name stays within 255 bytes.
    static QString documentFileName(const QString& problemName, Kind kind, const QDateTime& at, int copy = 1);

private:
    DocxContent::Paragraph& currentParagraph();
    DocxContent& document();
    DocxContent::Table& currentTable();
    DocxContent::Cell& tableCell(qint32 row, qint32 column);
    void typeText(QStringView text);

    Destination m_destination;
    DocxContent::Font m_font;
    std::unique_ptr<DocxContent> m_content;
    bool m_visible = false;
    DocxContent::Story* m_story = nullptr; // where the insertion point is: at the end of this story
    DocxContent::Table* m_table = nullptr; // the table made by the last AddTable
};
