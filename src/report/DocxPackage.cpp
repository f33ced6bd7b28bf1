#include "report/DocxPackage.h"

#include "storage/OptivarError.h"

#include <QBuffer>
#include <QXmlStreamWriter>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString NsW = u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s;
const QString NsR = u"http://schemas.openxmlformats.org/officeDocument/2006/relationships"_s;
const QString NsWp = u"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"_s;
const QString NsA = u"http://schemas.openxmlformats.org/drawingml/2006/main"_s;
const QString NsPic = u"http://schemas.openxmlformats.org/drawingml/2006/picture"_s;
const QString NsPackageRels = u"http://schemas.openxmlformats.org/package/2006/relationships"_s;
const QString RelOfficeDocument =
    u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"_s;
const QString RelStyles = u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles"_s;
const QString RelImage = u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"_s;

// Relationship ids of word/document.xml: the styles first, then one per picture.
QString pictureRelId(int picture)
{
    return u"rId"_s + QString::number(picture + 2);
}
QString picturePart(const DocxContent::Picture& p, int picture)
{
    return u"media/image"_s + QString::number(picture + 1) + u'.' + p.extension;
}

// Word's underline kinds (WdUnderline) by their names in the file; a kind the
// file format has no name for is drawn as a single line.
QString underlineName(qint32 kind)
{
    static const std::pair<qint32, QString> names[] = {
        {2, u"words"_s},        {3, u"double"_s},       {4, u"dotted"_s},        {6, u"thick"_s},
        {7, u"dash"_s},         {9, u"dotDash"_s},      {10, u"dotDotDash"_s},   {11, u"wave"_s},
        {20, u"dottedHeavy"_s}, {23, u"dashedHeavy"_s}, {25, u"dashDotHeavy"_s}, {26, u"dashDotDotHeavy"_s},
        {27, u"wavyHeavy"_s},   {39, u"dashLong"_s},    {43, u"wavyDouble"_s},   {55, u"dashLongHeavy"_s},
    };
    for (const auto& [k, name] : names) {
        if (k == kind)
            return name;
    }
    return u"single"_s;
}

QString borderName(DocxContent::Border border)
{
    switch (border) {
    case DocxContent::Border::Double:
        return u"double"_s;
    case DocxContent::Border::Triple:
        return u"triple"_s;
    case DocxContent::Border::Single:
        break;
    }
    return u"single"_s;
}

QString alignmentName(DocxContent::RowAlignment alignment)
{
    switch (alignment) {
    case DocxContent::RowAlignment::Center:
        return u"center"_s;
    case DocxContent::RowAlignment::Right:
        return u"right"_s;
    case DocxContent::RowAlignment::Left:
        break;
    }
    return u"left"_s;
}

// Word makes a row tall enough for text running upward in it; LibreOffice
// keeps the row one line high and breaks the text letter by letter. Such a row
// gets a least height: the longest line of the cell at about half an em a
// character, with a little room at both ends. Twips.
int upwardLength(const DocxContent::Cell& cell)
{
    if (!cell.upward)
        return 0;
    constexpr double EmPerCharacter = 0.55;
    constexpr int DefaultSize = 12;
    constexpr int Padding = 2 * 57;
    constexpr int MaxLength = DocxContent::PageHeight - DocxContent::MarginTop - DocxContent::MarginBottom;
    double longest = 0;
    for (const DocxContent::Block& block : cell.blocks) {
        const auto* p = std::get_if<DocxContent::Paragraph>(&block);
        if (!p)
            continue;
        double points = 0;
        for (const DocxContent::Run& run : p->runs) {
            const int size = run.font.size > 0 ? run.font.size : DefaultSize;
            points += run.picture >= 0 ? run.widthEmu / 12700.0 : run.text.size() * size * EmPerCharacter;
        }
        longest = std::max(longest, points);
    }
    if (longest <= 0)
        return 0;
    return std::min(MaxLength, int(std::ceil(longest * 20)) + Padding);
}

bool hasProperties(const DocxContent::Font& f)
{
    return !f.name.isEmpty() || f.size > 0 || f.bold != 0 || f.italic != 0 || f.underline != 0;
}

class DocumentWriter
{
public:
    explicit DocumentWriter(QByteArray* out) : m_xml(out) {}

    // Set when the writer met a character XML cannot hold.
    bool hasError() const { return m_xml.hasError(); }

    void write(const DocxContent& content)
    {
        m_xml.writeStartDocument(u"1.0"_s, true);
        m_xml.writeStartElement(u"w:document"_s);
        m_xml.writeNamespace(NsW, u"w"_s);
        m_xml.writeNamespace(NsR, u"r"_s);
        m_xml.writeNamespace(NsWp, u"wp"_s);
        m_xml.writeNamespace(NsA, u"a"_s);
        m_xml.writeNamespace(NsPic, u"pic"_s);
        m_xml.writeStartElement(u"w:body"_s);
        writeStory(content.body);
        writeSection();
        m_xml.writeEndElement(); // body
        m_xml.writeEndElement(); // document
        m_xml.writeEndDocument();
    }

private:
    void element(const QString& name, const QString& attribute, const QString& value)
    {
        m_xml.writeEmptyElement(name);
        m_xml.writeAttribute(attribute, value);
    }

    void writeStory(const DocxContent::Story& story)
    {
        for (const DocxContent::Block& block : story) {
            if (const auto* p = std::get_if<DocxContent::Paragraph>(&block))
                writeParagraph(*p);
            else
                writeTable(*std::get<std::unique_ptr<DocxContent::Table>>(block));
        }
    }

    void writeRunProperties(const DocxContent::Font& f)
    {
        if (!hasProperties(f))
            return;
        m_xml.writeStartElement(u"w:rPr"_s);
        if (!f.name.isEmpty()) {
            m_xml.writeEmptyElement(u"w:rFonts"_s);
            m_xml.writeAttribute(u"w:ascii"_s, f.name);
            m_xml.writeAttribute(u"w:hAnsi"_s, f.name);
            m_xml.writeAttribute(u"w:eastAsia"_s, f.name);
            m_xml.writeAttribute(u"w:cs"_s, f.name);
        }
        if (f.bold != 0) {
            m_xml.writeEmptyElement(u"w:b"_s);
            m_xml.writeEmptyElement(u"w:bCs"_s);
        }
        if (f.italic != 0) {
            m_xml.writeEmptyElement(u"w:i"_s);
            m_xml.writeEmptyElement(u"w:iCs"_s);
        }
        if (f.size > 0) {
            const QString halfPoints = QString::number(qint64(f.size) * 2);
            element(u"w:sz"_s, u"w:val"_s, halfPoints);
            element(u"w:szCs"_s, u"w:val"_s, halfPoints);
        }
        if (f.underline != 0)
            element(u"w:u"_s, u"w:val"_s, underlineName(f.underline));
        m_xml.writeEndElement();
    }

    void writeParagraph(const DocxContent::Paragraph& p)
    {
        m_xml.writeStartElement(u"w:p"_s);
        const bool markFont = p.mark && hasProperties(*p.mark);
        if (markFont || p.format != DocxContent::ParagraphFormat{}) {
            // Children of w:pPr in the order the schema requires: the keeps first, the mark's font last.
            m_xml.writeStartElement(u"w:pPr"_s);
            if (p.format.keepWithNext)
                m_xml.writeEmptyElement(u"w:keepNext"_s);
            if (p.format.keepTogether)
                m_xml.writeEmptyElement(u"w:keepLines"_s);
            if (markFont)
                writeRunProperties(*p.mark);
            m_xml.writeEndElement();
        }
        for (const DocxContent::Run& run : p.runs) {
            m_xml.writeStartElement(u"w:r"_s);
            writeRunProperties(run.font);
            if (run.picture >= 0)
                writeDrawing(run);
            else
                writeRunText(run.text);
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void writeRunText(const QString& text)
    {
        qsizetype start = 0;
        auto flush = [&](qsizetype end) {
            if (end > start) {
                m_xml.writeStartElement(u"w:t"_s);
                m_xml.writeAttribute(u"xml:space"_s, u"preserve"_s);
                m_xml.writeCharacters(text.mid(start, end - start));
                m_xml.writeEndElement();
            }
            start = end + 1;
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == u'\t') {
                flush(i);
                m_xml.writeEmptyElement(u"w:tab"_s);
            } else if (c == u'\v') {
                flush(i);
                m_xml.writeEmptyElement(u"w:br"_s);
            } else if (c == u'\f') {
                flush(i);
                element(u"w:br"_s, u"w:type"_s, u"page"_s);
            }
        }
        flush(text.size());
    }

    void writeDrawing(const DocxContent::Run& run)
    {
        const int id = ++m_drawings;
        const QString cx = QString::number(run.widthEmu);
        const QString cy = QString::number(run.heightEmu);
        const QString name = u"Рисунок "_s + QString::number(id);
        m_xml.writeStartElement(u"w:drawing"_s);
        m_xml.writeStartElement(u"wp:inline"_s);
        for (const QString& side : {u"distT"_s, u"distB"_s, u"distL"_s, u"distR"_s})
            m_xml.writeAttribute(side, u"0"_s);
        m_xml.writeEmptyElement(u"wp:extent"_s);
        m_xml.writeAttribute(u"cx"_s, cx);
        m_xml.writeAttribute(u"cy"_s, cy);
        m_xml.writeEmptyElement(u"wp:effectExtent"_s);
        for (const QString& side : {u"l"_s, u"t"_s, u"r"_s, u"b"_s})
            m_xml.writeAttribute(side, u"0"_s);
        m_xml.writeEmptyElement(u"wp:docPr"_s);
        m_xml.writeAttribute(u"id"_s, QString::number(id));
        m_xml.writeAttribute(u"name"_s, name);
        m_xml.writeEmptyElement(u"wp:cNvGraphicFramePr"_s);
        m_xml.writeStartElement(u"a:graphic"_s);
        m_xml.writeStartElement(u"a:graphicData"_s);
        m_xml.writeAttribute(u"uri"_s, NsPic);
        m_xml.writeStartElement(u"pic:pic"_s);

        m_xml.writeStartElement(u"pic:nvPicPr"_s);
        m_xml.writeEmptyElement(u"pic:cNvPr"_s);
        m_xml.writeAttribute(u"id"_s, QString::number(id));
        m_xml.writeAttribute(u"name"_s, name);
        m_xml.writeEmptyElement(u"pic:cNvPicPr"_s);
        m_xml.writeEndElement(); // nvPicPr

        m_xml.writeStartElement(u"pic:blipFill"_s);
        element(u"a:blip"_s, u"r:embed"_s, pictureRelId(run.picture));
        m_xml.writeStartElement(u"a:stretch"_s);
        m_xml.writeEmptyElement(u"a:fillRect"_s);
        m_xml.writeEndElement(); // stretch
        m_xml.writeEndElement(); // blipFill

        m_xml.writeStartElement(u"pic:spPr"_s);
        m_xml.writeStartElement(u"a:xfrm"_s);
        m_xml.writeEmptyElement(u"a:off"_s);
        m_xml.writeAttribute(u"x"_s, u"0"_s);
        m_xml.writeAttribute(u"y"_s, u"0"_s);
        m_xml.writeEmptyElement(u"a:ext"_s);
        m_xml.writeAttribute(u"cx"_s, cx);
        m_xml.writeAttribute(u"cy"_s, cy);
        m_xml.writeEndElement(); // xfrm
        m_xml.writeStartElement(u"a:prstGeom"_s);
        m_xml.writeAttribute(u"prst"_s, u"rect"_s);
        m_xml.writeEmptyElement(u"a:avLst"_s);
        m_xml.writeEndElement(); // prstGeom
        m_xml.writeEndElement(); // spPr

        m_xml.writeEndElement(); // pic
        m_xml.writeEndElement(); // graphicData
        m_xml.writeEndElement(); // graphic
        m_xml.writeEndElement(); // inline
        m_xml.writeEndElement(); // drawing
    }

    void writeBorder(const QString& side, const QString& style)
    {
        m_xml.writeEmptyElement(side);
        m_xml.writeAttribute(u"w:val"_s, style);
        m_xml.writeAttribute(u"w:sz"_s, u"4"_s);
        m_xml.writeAttribute(u"w:space"_s, u"0"_s);
        m_xml.writeAttribute(u"w:color"_s, u"auto"_s);
    }

    void writeTable(const DocxContent::Table& t)
    {
        const std::vector<int> widths = DocxPackage::columnWidths(t);
        m_xml.writeStartElement(u"w:tbl"_s);

        // Children of w:tblPr in the order the schema requires.
        m_xml.writeStartElement(u"w:tblPr"_s);
        m_xml.writeEmptyElement(u"w:tblW"_s);
        m_xml.writeAttribute(u"w:w"_s, t.stretched ? u"5000"_s : u"0"_s);
        m_xml.writeAttribute(u"w:type"_s, t.stretched ? u"pct"_s : u"auto"_s);
        if (t.alignment)
            element(u"w:jc"_s, u"w:val"_s, alignmentName(*t.alignment));
        // A new table is ruled with single lines inside and out; only the
        // outside lines can be changed.
        m_xml.writeStartElement(u"w:tblBorders"_s);
        const QString outside = borderName(t.outside);
        writeBorder(u"w:top"_s, outside);
        writeBorder(u"w:left"_s, outside);
        writeBorder(u"w:bottom"_s, outside);
        writeBorder(u"w:right"_s, outside);
        writeBorder(u"w:insideH"_s, u"single"_s);
        writeBorder(u"w:insideV"_s, u"single"_s);
        m_xml.writeEndElement(); // tblBorders
        // Columns keep the widths they were given instead of following their text.
        element(u"w:tblLayout"_s, u"w:type"_s, u"fixed"_s);
        m_xml.writeEndElement(); // tblPr

        m_xml.writeStartElement(u"w:tblGrid"_s);
        for (int w : widths)
            element(u"w:gridCol"_s, u"w:w"_s, QString::number(w));
        m_xml.writeEndElement();

        for (int r = 0; r < t.rows; ++r) {
            m_xml.writeStartElement(u"w:tr"_s);
            const bool heading = r == 0 && t.headingRow;
            int height = 0;
            for (int c = 0; c < t.columns; ++c)
                height = std::max(height, upwardLength(t.cell(r, c)));
            if (heading || height > 0) {
                m_xml.writeStartElement(u"w:trPr"_s);
                if (height > 0) {
                    m_xml.writeEmptyElement(u"w:trHeight"_s);
                    m_xml.writeAttribute(u"w:val"_s, QString::number(height));
                    m_xml.writeAttribute(u"w:hRule"_s, u"atLeast"_s);
                }
                if (heading)
                    m_xml.writeEmptyElement(u"w:tblHeader"_s);
                m_xml.writeEndElement();
            }
            for (int c = 0; c < t.columns; ++c) {
                const DocxContent::Cell& cell = t.cell(r, c);
                m_xml.writeStartElement(u"w:tc"_s);
                m_xml.writeStartElement(u"w:tcPr"_s);
                m_xml.writeEmptyElement(u"w:tcW"_s);
                m_xml.writeAttribute(u"w:w"_s, QString::number(widths[size_t(c)]));
                m_xml.writeAttribute(u"w:type"_s, u"dxa"_s);
                if (cell.upward)
                    element(u"w:textDirection"_s, u"w:val"_s, u"btLr"_s);
                m_xml.writeEndElement(); // tcPr
                writeStory(cell.blocks);
                m_xml.writeEndElement(); // tc
            }
            m_xml.writeEndElement(); // tr
        }
        m_xml.writeEndElement(); // tbl
    }

    void writeSection()
    {
        m_xml.writeStartElement(u"w:sectPr"_s);
        m_xml.writeEmptyElement(u"w:pgSz"_s);
        m_xml.writeAttribute(u"w:w"_s, QString::number(DocxContent::PageWidth));
        m_xml.writeAttribute(u"w:h"_s, QString::number(DocxContent::PageHeight));
        m_xml.writeEmptyElement(u"w:pgMar"_s);
        m_xml.writeAttribute(u"w:top"_s, QString::number(DocxContent::MarginTop));
        m_xml.writeAttribute(u"w:right"_s, QString::number(DocxContent::MarginRight));
        m_xml.writeAttribute(u"w:bottom"_s, QString::number(DocxContent::MarginBottom));
        m_xml.writeAttribute(u"w:left"_s, QString::number(DocxContent::MarginLeft));
        m_xml.writeAttribute(u"w:header"_s, u"708"_s);
        m_xml.writeAttribute(u"w:footer"_s, u"708"_s);
        m_xml.writeAttribute(u"w:gutter"_s, u"0"_s);
        m_xml.writeEndElement();
    }

    QXmlStreamWriter m_xml;
    int m_drawings = 0;
};

QByteArray documentXml(const DocxContent& content)
{
    QByteArray out;
    out.reserve(64 * 1024);
    DocumentWriter writer(&out);
    writer.write(content);
    if (writer.hasError())
        throw OptivarError(OptivarError::Code::IoError, u"Unable to write the document text"_s);
    return out;
}

// The defaults of a new Word document: Times New Roman 12 pt, Russian, single
// spacing without space after paragraphs; table cells padded 0.19 cm left and right.
QByteArray stylesXml()
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(u"1.0"_s, true);
    x.writeStartElement(u"w:styles"_s);
    x.writeNamespace(NsW, u"w"_s);
    x.writeStartElement(u"w:docDefaults"_s);
    x.writeStartElement(u"w:rPrDefault"_s);
    x.writeStartElement(u"w:rPr"_s);
    x.writeEmptyElement(u"w:rFonts"_s);
    for (const QString& a : {u"w:ascii"_s, u"w:hAnsi"_s, u"w:eastAsia"_s, u"w:cs"_s})
        x.writeAttribute(a, u"Times New Roman"_s);
    x.writeEmptyElement(u"w:sz"_s);
    x.writeAttribute(u"w:val"_s, u"24"_s);
    x.writeEmptyElement(u"w:szCs"_s);
    x.writeAttribute(u"w:val"_s, u"24"_s);
    x.writeEmptyElement(u"w:lang"_s);
    x.writeAttribute(u"w:val"_s, u"ru-RU"_s);
    x.writeAttribute(u"w:eastAsia"_s, u"ru-RU"_s);
    x.writeAttribute(u"w:bidi"_s, u"ar-SA"_s);
    x.writeEndElement(); // rPr
    x.writeEndElement(); // rPrDefault
    x.writeStartElement(u"w:pPrDefault"_s);
    x.writeStartElement(u"w:pPr"_s);
    x.writeEmptyElement(u"w:spacing"_s);
    x.writeAttribute(u"w:after"_s, u"0"_s);
    x.writeAttribute(u"w:line"_s, u"240"_s);
    x.writeAttribute(u"w:lineRule"_s, u"auto"_s);
    x.writeEndElement(); // pPr
    x.writeEndElement(); // pPrDefault
    x.writeEndElement(); // docDefaults

    x.writeStartElement(u"w:style"_s);
    x.writeAttribute(u"w:type"_s, u"paragraph"_s);
    x.writeAttribute(u"w:default"_s, u"1"_s);
    x.writeAttribute(u"w:styleId"_s, u"Normal"_s);
    x.writeEmptyElement(u"w:name"_s);
    x.writeAttribute(u"w:val"_s, u"Normal"_s);
    x.writeEndElement();

    x.writeStartElement(u"w:style"_s);
    x.writeAttribute(u"w:type"_s, u"table"_s);
    x.writeAttribute(u"w:default"_s, u"1"_s);
    x.writeAttribute(u"w:styleId"_s, u"TableNormal"_s);
    x.writeEmptyElement(u"w:name"_s);
    x.writeAttribute(u"w:val"_s, u"Normal Table"_s);
    x.writeStartElement(u"w:tblPr"_s);
    x.writeEmptyElement(u"w:tblInd"_s);
    x.writeAttribute(u"w:w"_s, u"0"_s);
    x.writeAttribute(u"w:type"_s, u"dxa"_s);
    x.writeStartElement(u"w:tblCellMar"_s);
    for (const auto& [side, width] : {std::pair{u"w:top"_s, u"0"_s}, std::pair{u"w:left"_s, u"108"_s},
                                      std::pair{u"w:bottom"_s, u"0"_s}, std::pair{u"w:right"_s, u"108"_s}}) {
        x.writeEmptyElement(side);
        x.writeAttribute(u"w:w"_s, width);
        x.writeAttribute(u"w:type"_s, u"dxa"_s);
    }
    x.writeEndElement(); // tblCellMar
    x.writeEndElement(); // tblPr
    x.writeEndElement(); // style

    x.writeEndElement(); // styles
    x.writeEndDocument();
    return out;
}

QByteArray contentTypesXml(const DocxContent& content)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(u"1.0"_s, true);
    x.writeStartElement(u"Types"_s);
    x.writeDefaultNamespace(u"http://schemas.openxmlformats.org/package/2006/content-types"_s);
    auto byExtension = [&](const QString& extension, const QString& type) {
        x.writeEmptyElement(u"Default"_s);
        x.writeAttribute(u"Extension"_s, extension);
        x.writeAttribute(u"ContentType"_s, type);
    };
    byExtension(u"rels"_s, u"application/vnd.openxmlformats-package.relationships+xml"_s);
    byExtension(u"xml"_s, u"application/xml"_s);
    QStringList seen;
    for (const DocxContent::Picture& p : content.pictures) {
        if (!seen.contains(p.extension)) {
            seen.append(p.extension);
            byExtension(p.extension, p.contentType);
        }
    }
    auto byPart = [&](const QString& part, const QString& type) {
        x.writeEmptyElement(u"Override"_s);
        x.writeAttribute(u"PartName"_s, part);
        x.writeAttribute(u"ContentType"_s, type);
    };
    byPart(u"/word/document.xml"_s,
           u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s);
    byPart(u"/word/styles.xml"_s, u"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"_s);
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray relationshipsXml(const std::vector<std::pair<QString, QString>>& typeAndTarget)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(u"1.0"_s, true);
    x.writeStartElement(u"Relationships"_s);
    x.writeDefaultNamespace(NsPackageRels);
    int id = 0;
    for (const auto& [type, target] : typeAndTarget) {
        x.writeEmptyElement(u"Relationship"_s);
        x.writeAttribute(u"Id"_s, u"rId"_s + QString::number(++id));
        x.writeAttribute(u"Type"_s, type);
        x.writeAttribute(u"Target"_s, target);
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

// Already compressed images are stored as they are; deflating them again costs
// time and saves nothing.
bool isCompressed(const QString& extension)
{
    return extension != u"bmp"_s;
}

void addEntry(QuaZip& zip, const QString& name, const QByteArray& bytes, const QDateTime& stamp, bool deflate)
{
    QuaZipNewInfo info(name);
    info.dateTime = stamp;
    QuaZipFile entry(&zip);
    const bool ok = entry.open(QIODevice::WriteOnly, info, nullptr, 0, deflate ? Z_DEFLATED : 0,
                               deflate ? Z_DEFAULT_COMPRESSION : 0) &&
                    entry.write(bytes) == bytes.size();
    entry.close();
    if (!ok || entry.getZipError() != ZIP_OK)
        throw OptivarError(OptivarError::Code::IoError, u"Unable to pack document part "_s + name);
}

} // namespace

namespace DocxPackage {

std::optional<DocxContent::Picture> pictureKind(const QByteArray& bytes)
{
    struct Kind
    {
        const char* signature;
        QString extension;
        QString contentType;
    };
    static const Kind kinds[] = {
        {"\x89PNG\r\n\x1a\n", u"png"_s, u"image/png"_s},
        {"BM", u"bmp"_s, u"image/bmp"_s},
        {"\xff\xd8\xff", u"jpeg"_s, u"image/jpeg"_s},
        {"GIF87a", u"gif"_s, u"image/gif"_s},
        {"GIF89a", u"gif"_s, u"image/gif"_s},
    };
    for (const Kind& k : kinds) {
        if (bytes.startsWith(k.signature))
            return DocxContent::Picture{QByteArray(), k.extension, k.contentType};
    }
    return std::nullopt;
}

std::vector<int> columnWidths(const DocxContent::Table& table)
{
    if (!table.stretched)
        return table.widths;
    qint64 total = 0;
    for (int w : table.widths)
        total += w;
    std::vector<int> scaled;
    scaled.reserve(table.widths.size());
    // Cumulative rounding: the columns add up to the text width exactly.
    qint64 before = 0;
    int placed = 0;
    for (int w : table.widths) {
        before += w;
        const int edge = int(std::llround(double(before) * DocxContent::TextWidth / double(total)));
        scaled.push_back(edge - placed);
        placed = edge;
    }
    return scaled;
}

QByteArray build(const DocxContent& content, const QDateTime& stamp)
{
    std::vector<std::pair<QString, QString>> documentRels{{RelStyles, u"styles.xml"_s}};
    for (size_t i = 0; i < content.pictures.size(); ++i)
        documentRels.emplace_back(RelImage, picturePart(content.pictures[i], int(i)));

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    // The buffer can seek back, so sizes go into the local headers and no
    // data descriptors are needed; some readers of the format do not expect them.
    zip.setDataDescriptorWritingEnabled(false);
    if (!zip.open(QuaZip::mdCreate))
        throw OptivarError(OptivarError::Code::IoError, u"Unable to create the document archive"_s);

    addEntry(zip, u"[Content_Types].xml"_s, contentTypesXml(content), stamp, true);
    addEntry(zip, u"_rels/.rels"_s, relationshipsXml({{RelOfficeDocument, u"word/document.xml"_s}}), stamp, true);
    addEntry(zip, u"word/document.xml"_s, documentXml(content), stamp, true);
    addEntry(zip, u"word/styles.xml"_s, stylesXml(), stamp, true);
    addEntry(zip, u"word/_rels/document.xml.rels"_s, relationshipsXml(documentRels), stamp, true);
    for (size_t i = 0; i < content.pictures.size(); ++i) {
        const DocxContent::Picture& p = content.pictures[i];
        addEntry(zip, u"word/"_s + picturePart(p, int(i)), p.bytes, stamp, !isCompressed(p.extension));
    }
    zip.close();
    if (zip.getZipError() != ZIP_OK)
        throw OptivarError(OptivarError::Code::IoError, u"Unable to create the document archive"_s);
    return bytes;
}

} // namespace DocxPackage
