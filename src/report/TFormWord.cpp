#include "report/TFormWord.h"

#include "report/DocxPackage.h"
#include "storage/AtomicFile.h"
#include "storage/FileNames.h"
#include "storage/OptivarError.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

// Names reach the user's file system, and a day's reports of one problem must
// not run past the limit of 255 bytes to a name; copies up to this number keep
// the same cut of the problem's name.
constexpr int MaxCopies = 9999;

QString cutText(const QString& text)
{
    if (text.size() <= TFormWord::MaxTextLength)
        return text;
    qsizetype n = TFormWord::MaxTextLength;
    if (text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

// Characters a document cannot hold as text are dropped, as Word drops what it
// cannot type; tab, vertical tab (a line break) and form feed (a page break) stay.
bool isTypeable(char16_t c)
{
    if (c < 0x20)
        return c == u'\t' || c == u'\v' || c == u'\f';
    return c != 0xFFFE && c != 0xFFFF;
}

QString kindText(TFormWord::Kind kind)
{
    switch (kind) {
    case TFormWord::Kind::ShortReport:
        return u"краткий отчет"_s;
    case TFormWord::Kind::Questionnaire:
        return u"анкета"_s;
    case TFormWord::Kind::FullReport:
        break;
    }
    return u"полный отчет"_s;
}

} // namespace

TFormWord::TFormWord(Destination destination) : m_destination(std::move(destination)) {}

TFormWord::~TFormWord() = default;

DocxContent& TFormWord::document()
{
    if (!m_content)
        throw std::logic_error("no document is open: NewDocument comes first");
    return *m_content;
}

DocxContent::Paragraph& TFormWord::currentParagraph()
{
    document();
    return std::get<DocxContent::Paragraph>(m_story->back());
}

DocxContent::Table& TFormWord::currentTable()
{
    document();
    if (!m_table)
        throw std::logic_error("the document has no table yet: AddTable comes first");
    return *m_table;
}

DocxContent::Cell& TFormWord::tableCell(qint32 row, qint32 column)
{
    DocxContent::Table& table = currentTable();
    if (row < 1 || row > table.rows || column < 1 || column > table.columns)
        throw std::out_of_range("the table has no cell at this row and column");
    return table.cell(row - 1, column - 1);
}

void TFormWord::NewDocument(bool visible)
{
    // A document begun and never closed is dropped with its holder's next one.
    m_content = std::make_unique<DocxContent>();
    m_content->body.emplace_back(DocxContent::Paragraph{});
    m_story = &m_content->body;
    m_table = nullptr;
    m_visible = visible;
}

void TFormWord::SetFont(const QString& name, qint32 size, qint32 bold, qint32 italic, qint32 underline)
{
    document();
    if (size > MaxFontSize)
        throw std::out_of_range("font size out of range");
    if (!name.isEmpty())
        m_font.name = cutText(name);
    if (size > 0)
        m_font.size = size;
    m_font.bold = bold;
    m_font.italic = italic;
    m_font.underline = underline;
    // The font is set at the insertion point, so an empty paragraph there shows it too.
    currentParagraph().mark = m_font;
}

void TFormWord::WriteText(const QString& text)
{
    document();
    typeText(cutText(text));
}

void TFormWord::writeLine(const QString& text, QStringView lineEnd)
{
    WriteText(text);
    WriteText(lineEnd.toString());
}

QString TFormWord::endLine()
{
    return u"\n\r"_s;
}

void TFormWord::setParagraphFormat(bool keepWithNext, bool keepTogether)
{
    currentParagraph().format = {keepWithNext, keepTogether};
}

void TFormWord::typeText(QStringView text)
{
    DocxContent::Paragraph* paragraph = &currentParagraph();
    paragraph->mark = m_font;
    QString pending;
    auto flush = [&] {
        if (pending.isEmpty())
            return;
        std::vector<DocxContent::Run>& runs = paragraph->runs;
        if (!runs.empty() && runs.back().picture < 0 && runs.back().font == m_font)
            runs.back().text += pending;
        else
            runs.push_back(DocxContent::Run{m_font, pending});
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            flush();
            // The new paragraph takes over the format of the one the line end closed.
            const DocxContent::ParagraphFormat format = paragraph->format;
            m_story->emplace_back(DocxContent::Paragraph{{}, m_font, format});
            paragraph = &std::get<DocxContent::Paragraph>(m_story->back());
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            pending += c;
            pending += text.at(++i);
        } else if (!c.isSurrogate() && isTypeable(c.unicode())) {
            pending += c;
        }
    }
    flush();
}

void TFormWord::AddTable(qint32 rows, qint32 columns, qint32 borderStyle, qint32 alignment, qint32 headingRow)
{
    document();
    if (rows < 1 || rows > MaxRows || columns < 1 || columns > MaxColumns)
        throw std::out_of_range("a table has 1 to 32767 rows and 1 to 63 columns");

    // The cells take over the formatting of the paragraph the table goes into.
    DocxContent::Paragraph& here = currentParagraph();
    const std::optional<DocxContent::Font> mark = here.mark;
    const DocxContent::ParagraphFormat format = here.format;
    const bool hereIsEmpty = here.isEmpty();

    auto table = std::make_unique<DocxContent::Table>();
    table->rows = rows;
    table->columns = columns;
    table->widths.assign(size_t(columns), DocxContent::TextWidth / columns);
    table->cells.resize(size_t(rows) * size_t(columns));
    for (DocxContent::Cell& cell : table->cells)
        cell.blocks.emplace_back(DocxContent::Paragraph{{}, mark, format});
    switch (borderStyle) {
    case 1:
        table->outside = DocxContent::Border::Single;
        break;
    case 2:
        table->outside = DocxContent::Border::Double;
        break;
    case 3:
        table->outside = DocxContent::Border::Triple;
        break;
    default:
        break;
    }

    DocxContent::Table* added = table.get();
    if (hereIsEmpty) {
        // The empty paragraph stays behind the table, where text after it goes.
        m_story->insert(m_story->end() - 1, std::move(table));
    } else {
        m_story->push_back(std::move(table));
        m_story->emplace_back(DocxContent::Paragraph{{}, mark, format});
    }
    m_table = added;
    AlignRows(alignment);
    MarkHeadingRow(headingRow);
    m_story = &added->cell(0, 0).blocks;
}

void TFormWord::AlignRows(qint32 alignment)
{
    DocxContent::Table& table = currentTable();
    switch (alignment) {
    case 0:
        table.alignment = DocxContent::RowAlignment::Left;
        break;
    case 1:
        table.alignment = DocxContent::RowAlignment::Center;
        break;
    case 2:
        table.alignment = DocxContent::RowAlignment::Right;
        break;
    default:
        break;
    }
}

void TFormWord::MarkHeadingRow(qint32 headingRow)
{
    DocxContent::Table& table = currentTable();
    if (headingRow == 1)
        table.headingRow = true;
}

void TFormWord::SetColumnWidth(qint32 column, double widthCm)
{
    DocxContent::Table& table = currentTable();
    if (column < 1 || column > table.columns)
        throw std::out_of_range("the table has no column of this number");
    if (!(widthCm > 0 && widthCm <= MaxLengthCm))
        throw std::out_of_range("column width out of range");
    const double twips = widthCm * 1440.0 / 2.54;
    table.widths[size_t(column - 1)] = std::max(1, qRound(twips));
}

void TFormWord::WriteCell(qint32 row, qint32 column, const QString& text)
{
    DocxContent::Cell& cell = tableCell(row, column);
    // Selecting the cell and typing replaces whatever it held; the format of its first paragraph stays.
    const auto* first = std::get_if<DocxContent::Paragraph>(&cell.blocks.front());
    const DocxContent::ParagraphFormat format = first ? first->format : DocxContent::ParagraphFormat{};
    cell.blocks.clear();
    cell.blocks.emplace_back(DocxContent::Paragraph{{}, m_font, format});
    m_story = &cell.blocks;
    WriteText(text);
}

void TFormWord::WriteCellUpward(qint32 row, qint32 column, const QString& text)
{
    tableCell(row, column).upward = true;
    WriteCell(row, column, text);
}

void TFormWord::StretchTable()
{
    currentTable().stretched = true;
}

void TFormWord::GoToEnd()
{
    m_story = &document().body;
}

void TFormWord::InsertPicture(const QString& fileName, qint32 widthCm, qint32 heightCm)
{
    DocxContent& doc = document();
    if (widthCm < 1 || heightCm < 1 || widthCm > MaxLengthCm || heightCm > MaxLengthCm)
        throw std::out_of_range("picture size out of range");

    QFile file(fileName);
    if (!file.exists())
        throw OptivarError(OptivarError::Code::NotFound, u"Не найден файл рисунка "_s + fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw OptivarError(OptivarError::Code::IoError, u"Не удается прочитать файл рисунка "_s + fileName);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw OptivarError(OptivarError::Code::IoError, u"Не удается прочитать файл рисунка "_s + fileName);
    std::optional<DocxContent::Picture> picture = DocxPackage::pictureKind(bytes);
    if (!picture)
        throw OptivarError(OptivarError::Code::IoError, u"Файл не является рисунком: "_s + fileName);

    picture->bytes = std::move(bytes);
    doc.pictures.push_back(std::move(*picture));
    const int index = int(doc.pictures.size() - 1);

    constexpr qint64 EmuPerCm = 360000;
    DocxContent::Paragraph& paragraph = currentParagraph();
    paragraph.runs.push_back(DocxContent::Run{m_font, QString(), index, widthCm * EmuPerCm, heightCm * EmuPerCm});
    paragraph.mark = m_font;
}

QByteArray TFormWord::documentBytes(const QDateTime& stamp) const
{
    if (!m_content)
        throw std::logic_error("no document is open: NewDocument comes first");
    return DocxPackage::build(*m_content, stamp);
}

QString TFormWord::documentFileName(const QString& problemName, Kind kind, const QDateTime& at, int copy)
{
    const QString tail = kindText(kind) + u' ' + at.toString(u"yyyy-MM-dd HH-mm-ss"_s);
    const QString extension = u".docx"_s;
    const QString copyMark = copy > 1 ? u" ("_s + QString::number(copy) + u')' : QString();

    QString problem = problemName;
    for (qsizetype i = 0; i < problemName.size(); ++i) {
        if (FileNames::isUnsafeAt(problemName, i))
            problem[i] = u'_';
    }
    problem = FileNames::trimBlanksAndDots(problem);
    const qsizetype reserve = (u" ("_s + QString::number(MaxCopies) + u')').toUtf8().size();
    const qsizetype budget = FileNames::MaxBytes - (u' ' + tail + extension).toUtf8().size() - reserve;
    while (!problem.isEmpty() && problem.toUtf8().size() > budget)
        problem.chop(problem.size() >= 2 && problem.back().isLowSurrogate() ? 2 : 1);
    problem = FileNames::trimBlanksAndDots(problem);

    return (problem.isEmpty() ? tail : problem + u' ' + tail) + copyMark + extension;
}

QString TFormWord::Close()
{
    document();
    QDateTime at = m_destination.now ? m_destination.now() : QDateTime();
    if (!at.isValid())
        at = QDateTime::currentDateTime();
    const QByteArray bytes = documentBytes(at);

    const QString folder = QDir(m_destination.dataDir).absoluteFilePath(u"Отчеты"_s);
    if (!QDir().mkpath(folder))
        throw OptivarError::writeFailed(folder);

    QString path;
    for (int copy = 1;; ++copy) {
        path = folder + u'/' + documentFileName(m_destination.problemName, m_destination.kind, at, copy);
        try {
            AtomicFile::write(path, bytes, AtomicFile::Mode::NoReplace);
            break;
        } catch (const OptivarError& e) {
            if (e.code() != OptivarError::Code::NameExists || copy >= MaxCopies)
                throw;
        }
    }

    m_content.reset();
    m_story = nullptr;
    m_table = nullptr;
    if (m_visible && m_destination.open)
        m_destination.open(path);
    return path;
}
