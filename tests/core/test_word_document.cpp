#include "report/TFormWord.h"

#include "storage/OptivarError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <zlib.h>

#include <csignal>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// ---- Reading a package back ------------------------------------------------

struct Node
{
    QString name; // qualified, as written
    QString ns;
    QHash<QString, QString> attrs;
    std::vector<Node> children;
    QString text;

    QString attr(const QString& n) const { return attrs.value(n); }
    // Only on a node that outlives the answer: the results point into it.
    const Node* child(const QString& n) const&& = delete;
    std::vector<const Node*> all(const QString& n) const&& = delete;
    std::vector<const Node*> descendants(const QString& n) const&& = delete;

    const Node* child(const QString& n) const&
    {
        for (const Node& c : children) {
            if (c.name == n)
                return &c;
        }
        return nullptr;
    }
    std::vector<const Node*> all(const QString& n) const&
    {
        std::vector<const Node*> out;
        for (const Node& c : children) {
            if (c.name == n)
                out.push_back(&c);
        }
        return out;
    }
    void collect(const QString& n, std::vector<const Node*>& out) const
    {
        for (const Node& c : children) {
            if (c.name == n)
                out.push_back(&c);
            c.collect(n, out);
        }
    }
    std::vector<const Node*> descendants(const QString& n) const&
    {
        std::vector<const Node*> out;
        collect(n, out);
        return out;
    }
};

// Parses with namespace processing, so an undeclared prefix fails as well as bad XML.
Node parseXml(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    Node root;
    std::vector<Node*> stack{&root};
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            Node n;
            n.name = reader.qualifiedName().toString();
            n.ns = reader.namespaceUri().toString();
            for (const QXmlStreamAttribute& a : reader.attributes())
                n.attrs.insert(a.qualifiedName().toString(), a.value().toString());
            stack.back()->children.push_back(std::move(n));
            stack.push_back(&stack.back()->children.back());
            break;
        }
        case QXmlStreamReader::EndElement:
            stack.pop_back();
            break;
        case QXmlStreamReader::Characters:
            stack.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        throw std::runtime_error("malformed XML: " + reader.errorString().toStdString());
    if (root.children.size() != 1)
        throw std::runtime_error("XML without one root element");
    return std::move(root.children.front());
}

struct Package
{
    QStringList order;
    QHash<QString, QByteArray> parts;

    QByteArray part(const QString& name) const
    {
        if (!parts.contains(name))
            throw std::runtime_error("package has no part " + name.toStdString());
        return parts.value(name);
    }
    Node xml(const QString& name) const { return parseXml(part(name)); }
    Node body() const
    {
        Node doc = xml(u"word/document.xml"_s);
        const Node* b = doc.child(u"w:body"_s);
        if (!b)
            throw std::runtime_error("document without body");
        return *b;
    }
};

Package unzip(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        throw std::runtime_error("not a zip archive");
    Package p;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("unreadable zip entry");
        p.order.append(zip.getCurrentFileName());
        p.parts.insert(zip.getCurrentFileName(), f.readAll());
    }
    return p;
}

QString paragraphText(const Node& p)
{
    QString s;
    for (const Node* r : p.all(u"w:r"_s)) {
        for (const Node& c : r->children) {
            if (c.name == u"w:t"_s)
                s += c.text;
            else if (c.name == u"w:tab"_s)
                s += u'\t';
            else if (c.name == u"w:br"_s)
                s += c.attr(u"w:type"_s) == u"page"_s ? u'\f' : u'\v';
        }
    }
    return s;
}

QString blockOutline(const Node& n);

// A table as "[" rows joined by ";" of cells joined by "|" "]"; the blocks of a cell joined by "¶".
QString cellOutline(const Node& tc)
{
    QStringList blocks;
    for (const Node& c : tc.children) {
        if (c.name != u"w:tcPr"_s)
            blocks << blockOutline(c);
    }
    return blocks.join(u'¶');
}

QString blockOutline(const Node& n)
{
    if (n.name == u"w:p"_s)
        return paragraphText(n);
    QStringList rows;
    for (const Node* tr : n.all(u"w:tr"_s)) {
        QStringList cells;
        for (const Node* tc : tr->all(u"w:tc"_s))
            cells << cellOutline(*tc);
        rows << cells.join(u'|');
    }
    return u'[' + rows.join(u';') + u']';
}

QStringList bodyOutline(const Package& p)
{
    QStringList out;
    for (const Node& c : p.body().children) {
        if (c.name != u"w:sectPr"_s)
            out << blockOutline(c);
    }
    return out;
}

struct RunFont
{
    QString name;
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
    QString underline;
};

RunFont fontOf(const Node* rPr)
{
    RunFont f;
    if (!rPr)
        return f;
    if (const Node* fonts = rPr->child(u"w:rFonts"_s)) {
        f.name = fonts->attr(u"w:ascii"_s);
        if (fonts->attr(u"w:hAnsi"_s) != f.name) // Cyrillic takes the hAnsi font
            throw std::runtime_error("ascii and hAnsi fonts differ");
    }
    if (const Node* sz = rPr->child(u"w:sz"_s))
        f.halfPoints = sz->attr(u"w:val"_s).toInt();
    f.bold = rPr->child(u"w:b"_s) != nullptr;
    f.italic = rPr->child(u"w:i"_s) != nullptr;
    if (const Node* u = rPr->child(u"w:u"_s))
        f.underline = u->attr(u"w:val"_s);
    return f;
}

// The first table of the body.
Node firstTable(const Package& p)
{
    const Node body = p.body();
    const Node* t = body.child(u"w:tbl"_s);
    if (!t)
        throw std::runtime_error("the body has no table");
    return *t;
}

// ---- Pictures made by hand -------------------------------------------------

void putLe(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A 24-bit Windows bitmap, bottom-up rows padded to four bytes; the top half white, the bottom half blue.
QByteArray bitmap(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    QByteArray b("BM");
    putLe(b, quint32(54 + stride * height), 4);
    putLe(b, 0, 4);
    putLe(b, 54, 4);
    for (quint32 v : {40u, quint32(width), quint32(height)})
        putLe(b, v, 4);
    putLe(b, 1, 2);
    putLe(b, 24, 2);
    for (quint32 v : {0u, quint32(stride * height), 2835u, 2835u, 0u, 0u})
        putLe(b, v, 4);
    for (int y = 0; y < height; ++y) {
        QByteArray row;
        for (int x = 0; x < width; ++x)
            row.append(y < height / 2 ? QByteArray("\xC0\x40\x20", 3) : QByteArray("\xFF\xFF\xFF", 3));
        row.append(QByteArray(stride - width * 3, '\0'));
        b.append(row);
    }
    return b;
}

void putBe(QByteArray& b, quint32 v)
{
    for (int i = 3; i >= 0; --i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

void pngChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    putBe(png, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    png.append(typed);
    putBe(png, quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))));
}

// A grey RGB image in the PNG format.
QByteArray png(int width, int height)
{
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        raw.append('\0'); // no filter
        raw.append(QByteArray(width * 3, '\x80'));
    }
    QByteArray header;
    putBe(header, quint32(width));
    putBe(header, quint32(height));
    header.append("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB
    QByteArray result("\x89PNG\r\n\x1a\n", 8);
    pngChunk(result, "IHDR", header);
    pngChunk(result, "IDAT", qCompress(raw).mid(4)); // qCompress puts the length before the zlib stream
    pngChunk(result, "IEND", QByteArray());
    return result;
}

const QByteArray Gif1x1("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00"
                        ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                        43);

// ---- Scripts of operations ---------------------------------------------------

struct Step
{
    enum Op { Text, Table, Cell, End } op;
    int a = 0;
    int b = 0;
    QString text;
};
Step text(const QString& s)
{
    return {Step::Text, 0, 0, s};
}
Step table(int rows, int columns)
{
    return {Step::Table, rows, columns, {}};
}
Step cell(int row, int column, const QString& s)
{
    return {Step::Cell, row, column, s};
}
Step end()
{
    return {Step::End, 0, 0, {}};
}

void run(TFormWord& w, const QList<Step>& script)
{
    for (const Step& s : script) {
        switch (s.op) {
        case Step::Text:
            w.WriteText(s.text);
            break;
        case Step::Table:
            w.AddTable(s.a, s.b, 1, 1, 0);
            break;
        case Step::Cell:
            w.WriteCell(s.a, s.b, s.text);
            break;
        case Step::End:
            w.GoToEnd();
            break;
        }
    }
}

struct FontCall
{
    QString name;
    int size, bold, italic, underline;
};

using Operation = std::function<void(TFormWord&)>;

const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 7, 9));

TFormWord::Destination nowhere()
{
    return {QString(), u"Задача"_s, TFormWord::Kind::FullReport, {}, {}};
}

Package packageOf(const TFormWord& w)
{
    return unzip(w.documentBytes(Stamp));
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(FontCall)
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(TFormWord::Kind)

class TestWordDocument : public QObject
{
    Q_OBJECT

private:
    // A document with everything the writer makes: fonts, paragraphs, both kinds of table, a picture.
    QByteArray richDocument(const QString& picturePath)
    {
        TFormWord w(nowhere());
        w.NewDocument(true);
        w.SetFont(QString(), 12, 0, 0, 0);
        w.WriteText(u"Протокол анализа альтернатив.\n\r"_s);
        w.SetFont(u"Arial"_s, 14, 1, 1, 1);
        w.WriteText(u"Матрица\n\r"_s);
        w.AddTable(3, 3, 2, 1, 1);
        w.SetColumnWidth(1, 4.0);
        w.WriteCellUpward(1, 2, u"Цена"_s);
        w.WriteCell(2, 1, u"Цена"_s);
        w.WriteCell(2, 2, u"-"_s);
        w.StretchTable();
        w.GoToEnd();
        w.SetFont(QString(), 12, 0, 0, 0);
        w.WriteText(u"\n\r"_s);
        w.AddTable(1, 1, 0, 3, 0);
        w.AddTable(1, 2, 3, 2, 0); // nested in the first cell
        w.WriteCell(1, 2, u"вложенная"_s);
        w.GoToEnd();
        w.InsertPicture(picturePath, 15, 15);
        w.GoToEnd();
        w.WriteText(u"\n\rВнимание!\r"_s);
        return w.documentBytes(Stamp);
    }

private Q_SLOTS:
    void testTypedText_data();
    void testTypedText();
    void testRunFont_data();
    void testRunFont();
    void testRunsFollowFontChanges();
    void testInsertionPoint_data();
    void testInsertionPoint();
    void testTableProperties_data();
    void testTableProperties();
    void testColumnWidth_data();
    void testColumnWidth();
    void testStretchFillsTextWidth();
    void testUpwardCell();
    void testUpwardRowHeight();
    void testPicture_data();
    void testPicture();
    void testSamePictureTwice();
    void testPictureFailures_data();
    void testPictureFailures();
    void testPackageConsistency();
    void testSchemaOrder();
    void testFullReportShape();
    void testDocumentFileName_data();
    void testDocumentFileName();
    void testLongProblemNameFits();
    void testCloseSavesAndOpens_data();
    void testCloseSavesAndOpens();
    void testCloseNeverOverwrites();
    void testCloseFailureLeavesNothing();
    void testMisuse_data();
    void testMisuse();
};

void TestWordDocument::testTypedText_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("paragraphs");

    QTest::newRow("one piece") << QStringList{u"Оптивар"_s} << QStringList{u"Оптивар"_s};
    QTest::newRow("pieces join in one paragraph")
        << QStringList{u"Лучший выбор - "_s, u"Квартира"_s} << QStringList{u"Лучший выбор - Квартира"_s};
    QTest::newRow("carriage return") << QStringList{u"а\rб"_s} << QStringList{u"а"_s, u"б"_s};
    QTest::newRow("line feed") << QStringList{u"а\nб"_s} << QStringList{u"а"_s, u"б"_s};
    QTest::newRow("line feed and return leave an empty line")
        << QStringList{u"Заголовок\n\r"_s, u"Список"_s} << QStringList{u"Заголовок"_s, QString(), u"Список"_s};
    QTest::newRow("return at the end opens a paragraph")
        << QStringList{u"1. Цена\r"_s} << QStringList{u"1. Цена"_s, QString()};
    QTest::newRow("blanks kept") << QStringList{u"  45,67%  "_s} << QStringList{u"  45,67%  "_s};
    QTest::newRow("300 characters cut to 255") << QStringList{QString(300, u'я')} << QStringList{QString(255, u'я')};
    QTest::newRow("a return past 255 is cut away")
        << QStringList{QString(255, u'я') + u"\rб"_s} << QStringList{QString(255, u'я')};
    QTest::newRow("tab, line break, page break") << QStringList{u"а\tб\vв\fг"_s} << QStringList{u"а\tб\vв\fг"_s};
    QTest::newRow("control characters dropped") << QStringList{u"а\x01б\x1f"_s} << QStringList{u"аб"_s};
    QTest::newRow("lone surrogate dropped") << QStringList{u"а"_s + QChar(0xD800) + u"б"_s} << QStringList{u"аб"_s};
    QTest::newRow("pair kept") << QStringList{u"а😀"_s} << QStringList{u"а😀"_s};
    QTest::newRow("markup characters") << QStringList{u"<a & \"b\">"_s} << QStringList{u"<a & \"b\">"_s};
    QTest::newRow("nothing typed") << QStringList{} << QStringList{QString()};
}

void TestWordDocument::testTypedText()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, paragraphs);

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    for (const QString& piece : pieces)
        w.WriteText(piece);
    QCOMPARE(bodyOutline(packageOf(w)), paragraphs);
}

void TestWordDocument::testRunFont_data()
{
    QTest::addColumn<QList<FontCall>>("calls");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("halfPoints");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("underline");

    QTest::newRow("size only") << QList<FontCall>{{QString(), 12, 0, 0, 0}} << QString() << 24 << false << false
                               << QString();
    QTest::newRow("name and all flags") << QList<FontCall>{{u"Arial"_s, 14, 1, 1, 1}} << u"Arial"_s << 28 << true
                                        << true << u"single"_s;
    QTest::newRow("Word's true and double underline")
        << QList<FontCall>{{QString(), 11, -1, 0, 3}} << QString() << 22 << true << false << u"double"_s;
    QTest::newRow("unknown underline kind is single")
        << QList<FontCall>{{QString(), 11, 0, 0, 5}} << QString() << 22 << false << false << u"single"_s;
    QTest::newRow("empty name and size 0 keep name and size, flags replaced")
        << QList<FontCall>{{u"Arial"_s, 14, 1, 0, 1}, {QString(), 0, 0, 1, 0}} << u"Arial"_s << 28 << false << true
        << QString();
    QTest::newRow("negative size keeps size") << QList<FontCall>{{QString(), 12, 0, 0, 0}, {QString(), -5, 1, 0, 0}}
                                              << QString() << 24 << true << false << QString();
    QTest::newRow("a new name replaces") << QList<FontCall>{{u"Arial"_s, 12, 0, 0, 0},
                                                            {u"Times New Roman"_s, 0, 0, 0, 0}}
                                         << u"Times New Roman"_s << 24 << false << false << QString();
    QTest::newRow("name cut to 255") << QList<FontCall>{{QString(300, u'Ш'), 12, 0, 0, 0}} << QString(255, u'Ш') << 24
                                     << false << false << QString();
    QTest::newRow("largest size") << QList<FontCall>{{QString(), 1638, 0, 0, 0}} << QString() << 3276 << false << false
                                  << QString();
}

void TestWordDocument::testRunFont()
{
    QFETCH(QList<FontCall>, calls);
    QFETCH(QString, name);
    QFETCH(int, halfPoints);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, underline);

    TFormWord w(nowhere());
    w.NewDocument(true);
    for (const FontCall& c : calls)
        w.SetFont(c.name, c.size, c.bold, c.italic, c.underline);
    w.WriteText(u"Цена\r"_s);

    QCOMPARE(w.FontName(), name);
    QCOMPARE(w.FontSize() * 2, halfPoints);
    QCOMPARE(w.FontBold(), calls.back().bold);
    QCOMPARE(w.FontItalic(), calls.back().italic);
    QCOMPARE(w.FontUnderline(), calls.back().underline);

    const Node body = packageOf(w).body();
    const std::vector<const Node*> paragraphs = body.all(u"w:p"_s);
    QCOMPARE(paragraphs.size(), size_t(2));
    const std::vector<const Node*> runs = paragraphs[0]->all(u"w:r"_s);
    QCOMPARE(runs.size(), size_t(1));
    // The run and both paragraph marks carry the font.
    for (const Node* rPr : {runs[0]->child(u"w:rPr"_s), paragraphs[0]->child(u"w:pPr"_s)->child(u"w:rPr"_s),
                            paragraphs[1]->child(u"w:pPr"_s)->child(u"w:rPr"_s)}) {
        QVERIFY(rPr);
        const RunFont f = fontOf(rPr);
        QCOMPARE(f.name, name);
        QCOMPARE(f.halfPoints, halfPoints);
        QCOMPARE(f.bold, bold);
        QCOMPARE(f.italic, italic);
        QCOMPARE(f.underline, underline);
    }
}

void TestWordDocument::testRunsFollowFontChanges()
{
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    w.WriteText(u"1. "_s);
    w.WriteText(u"Цена"_s);
    w.SetFont(QString(), 0, 1, 0, 0);
    w.WriteText(u" важнее"_s);
    w.SetFont(QString(), 0, 0, 0, 0);
    w.WriteText(u"."_s);

    const Node body = packageOf(w).body();
    const std::vector<const Node*> runs = body.child(u"w:p"_s)->all(u"w:r"_s);
    QCOMPARE(runs.size(), size_t(3));
    QStringList texts;
    QList<bool> bolds;
    for (const Node* r : runs) {
        texts << r->child(u"w:t"_s)->text;
        bolds << fontOf(r->child(u"w:rPr"_s)).bold;
        QCOMPARE(r->child(u"w:t"_s)->attr(u"xml:space"_s), u"preserve"_s);
    }
    QCOMPARE(texts, (QStringList{u"1. Цена"_s, u" важнее"_s, u"."_s}));
    QCOMPARE(bolds, (QList<bool>{false, true, false}));
}

void TestWordDocument::testInsertionPoint_data()
{
    QTest::addColumn<QList<Step>>("script");
    QTest::addColumn<QStringList>("outline");

    QTest::newRow("a new table's first cell takes the typing")
        << QList<Step>{table(2, 2), text(u"х"_s)} << QStringList{u"[х|;|]"_s, QString()};
    QTest::newRow("text without GoToEnd stays in the cell")
        << QList<Step>{table(1, 2), cell(1, 2, u"а"_s), text(u"б"_s)} << QStringList{u"[|аб]"_s, QString()};
    QTest::newRow("GoToEnd puts text after the table")
        << QList<Step>{text(u"Матрица\n\r"_s), table(2, 2), cell(1, 2, u"а"_s), end(), text(u"после"_s)}
        << QStringList{u"Матрица"_s, QString(), u"[|а;|]"_s, u"после"_s};
    QTest::newRow("a table after text keeps the text before it")
        << QList<Step>{text(u"абв"_s), table(1, 1)} << QStringList{u"абв"_s, u"[]"_s, QString()};
    QTest::newRow("writing a cell again replaces its text")
        << QList<Step>{table(1, 1), cell(1, 1, u"а"_s), cell(1, 1, u"б"_s)} << QStringList{u"[б]"_s, QString()};
    QTest::newRow("paragraphs in a cell")
        << QList<Step>{table(1, 1), cell(1, 1, u"а\rб"_s)} << QStringList{u"[а¶б]"_s, QString()};
    QTest::newRow("cells fill in any order")
        << QList<Step>{table(2, 3), cell(2, 3, u"6"_s), cell(1, 1, u"1"_s), cell(2, 1, u"4"_s)}
        << QStringList{u"[1||;4||6]"_s, QString()};
    QTest::newRow("a table in a cell") << QList<Step>{table(1, 1), table(1, 1), text(u"х"_s), end(), text(u"у"_s)}
                                       << QStringList{u"[[х]¶]"_s, u"у"_s};
    QTest::newRow("two tables one after the other")
        << QList<Step>{text(u"А\n\r"_s), table(1, 1), cell(1, 1, u"а"_s), end(),
                       text(u"Б\n\r"_s), table(1, 1), cell(1, 1, u"б"_s), end()}
        << QStringList{u"А"_s, QString(), u"[а]"_s, u"Б"_s, QString(), u"[б]"_s, QString()};
    QTest::newRow("GoToEnd without a table") << QList<Step>{text(u"а"_s), end(), text(u"б"_s)} << QStringList{u"аб"_s};
}

void TestWordDocument::testInsertionPoint()
{
    QFETCH(QList<Step>, script);
    QFETCH(QStringList, outline);

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    run(w, script);
    QCOMPARE(bodyOutline(packageOf(w)), outline);
}

void TestWordDocument::testTableProperties_data()
{
    QTest::addColumn<int>("borderStyle");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("headingRow");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<QString>("jc");
    QTest::addColumn<bool>("heading");

    QTest::newRow("all defaults") << 0 << 3 << 0 << u"single"_s << QString() << false;
    QTest::newRow("single, centred, as the reports") << 1 << 1 << 0 << u"single"_s << u"center"_s << false;
    QTest::newRow("double, left, heading") << 2 << 0 << 1 << u"double"_s << u"left"_s << true;
    QTest::newRow("triple, right") << 3 << 2 << 2 << u"triple"_s << u"right"_s << false;
    QTest::newRow("border 4 and alignment -1 are ignored") << 4 << -1 << -1 << u"single"_s << QString() << false;
}

void TestWordDocument::testTableProperties()
{
    QFETCH(int, borderStyle);
    QFETCH(int, alignment);
    QFETCH(int, headingRow);
    QFETCH(QString, outside);
    QFETCH(QString, jc);
    QFETCH(bool, heading);

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.AddTable(3, 2, borderStyle, alignment, headingRow);
    const Node tbl = firstTable(packageOf(w));
    const Node* tblPr = tbl.child(u"w:tblPr"_s);
    QVERIFY(tblPr);

    const Node* borders = tblPr->child(u"w:tblBorders"_s);
    QVERIFY(borders);
    QStringList sides;
    for (const Node& side : borders->children) {
        sides << side.name;
        const bool isOutside = !side.name.startsWith(u"w:inside"_s);
        QCOMPARE(side.attr(u"w:val"_s), isOutside ? outside : u"single"_s);
    }
    QCOMPARE(sides,
             (QStringList{u"w:top"_s, u"w:left"_s, u"w:bottom"_s, u"w:right"_s, u"w:insideH"_s, u"w:insideV"_s}));

    const Node* jcNode = tblPr->child(u"w:jc"_s);
    QCOMPARE(jcNode ? jcNode->attr(u"w:val"_s) : QString(), jc);

    const std::vector<const Node*> rows = tbl.all(u"w:tr"_s);
    QCOMPARE(rows.size(), size_t(3));
    for (size_t r = 0; r < rows.size(); ++r) {
        const Node* trPr = rows[r]->child(u"w:trPr"_s);
        const bool marked = trPr && trPr->child(u"w:tblHeader"_s);
        QCOMPARE(marked, heading && r == 0);
        QCOMPARE(rows[r]->all(u"w:tc"_s).size(), size_t(2));
    }
}

void TestWordDocument::testColumnWidth_data()
{
    QTest::addColumn<double>("widthCm");
    QTest::addColumn<int>("twips");

    // One inch is 2.54 cm and 1440 twips.
    QTest::newRow("name column 4 cm") << 4.0 << 2268;   // 2267.72
    QTest::newRow("value column 1.7 cm") << 1.7 << 964; // 963.78
    QTest::newRow("one inch") << 2.54 << 1440;
    QTest::newRow("smallest") << 0.001 << 1;
    QTest::newRow("22 inches") << 55.88 << 31680;
}

void TestWordDocument::testColumnWidth()
{
    QFETCH(double, widthCm);
    QFETCH(int, twips);

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.AddTable(2, 3, 1, 1, 0);
    w.SetColumnWidth(2, widthCm);
    const Node tbl = firstTable(packageOf(w));
    const std::vector<const Node*> grid = tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s);
    QCOMPARE(grid.size(), size_t(3));
    QCOMPARE(grid[1]->attr(u"w:w"_s).toInt(), twips);
    // The other columns keep the equal share of the text width (16.5 cm) a new table gets.
    QCOMPARE(grid[0]->attr(u"w:w"_s).toInt(), 9355 / 3);
    QCOMPARE(grid[2]->attr(u"w:w"_s).toInt(), 9355 / 3);
    QCOMPARE(tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s)->attr(u"w:type"_s), u"auto"_s);
    for (const Node* tr : tbl.all(u"w:tr"_s)) {
        const std::vector<const Node*> tcs = tr->all(u"w:tc"_s);
        for (size_t c = 0; c < tcs.size(); ++c) {
            const Node* tcW = tcs[c]->child(u"w:tcPr"_s)->child(u"w:tcW"_s);
            QCOMPARE(tcW->attr(u"w:w"_s), grid[c]->attr(u"w:w"_s));
            QCOMPARE(tcW->attr(u"w:type"_s), u"dxa"_s);
        }
    }
}

void TestWordDocument::testStretchFillsTextWidth()
{
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.AddTable(4, 4, 1, 1, 0);
    w.SetColumnWidth(1, 4.0);
    for (int c = 2; c <= 4; ++c)
        w.SetColumnWidth(c, 1.7);
    w.StretchTable();

    const Node tbl = firstTable(packageOf(w));
    const Node* tblW = tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s);
    QCOMPARE(tblW->attr(u"w:type"_s), u"pct"_s);
    QCOMPARE(tblW->attr(u"w:w"_s), u"5000"_s);
    QList<int> widths;
    int sum = 0;
    for (const Node* g : tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s)) {
        widths << g->attr(u"w:w"_s).toInt();
        sum += widths.back();
    }
    QCOMPARE(widths.size(), 4);
    QCOMPARE(sum, 9355); // the width between the margins
    // The columns keep their proportions, 4 : 1.7.
    QVERIFY(qAbs(widths[0] * 1.7 / 4.0 - widths[1]) <= 1.0);
    QVERIFY(qAbs(widths[1] - widths[3]) <= 1);
}

void TestWordDocument::testUpwardCell()
{
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.AddTable(2, 3, 1, 1, 0);
    w.WriteCellUpward(1, 2, u"Цена"_s);
    w.WriteCell(1, 3, u"Район"_s);
    w.WriteCell(1, 2, u"Цена квартиры"_s); // rewriting keeps the direction
    const Node tbl = firstTable(packageOf(w));
    QStringList directions;
    for (const Node* tc : tbl.descendants(u"w:tc"_s)) {
        const Node* d = tc->child(u"w:tcPr"_s)->child(u"w:textDirection"_s);
        directions << (d ? d->attr(u"w:val"_s) : QString());
    }
    QCOMPARE(directions, (QStringList{QString(), u"btLr"_s, QString(), QString(), QString(), QString()}));
    QCOMPARE(blockOutline(tbl), u"[|Цена квартиры|Район;||]"_s);
}

void TestWordDocument::testUpwardRowHeight()
{
    // A row with upward text is given a least height that grows with the text
    // (LibreOffice would otherwise keep it one line high); other rows are left alone.
    auto heights = [](const QString& upward, int size) {
        TFormWord w(nowhere());
        w.NewDocument(true);
        w.SetFont(QString(), size, 0, 0, 0);
        w.AddTable(2, 2, 1, 1, 0);
        w.WriteCellUpward(1, 2, upward);
        w.WriteCell(2, 2, u"Район"_s);
        QList<int> out;
        const Node tbl = firstTable(packageOf(w));
        for (const Node* tr : tbl.all(u"w:tr"_s)) {
            const Node* trPr = tr->child(u"w:trPr"_s);
            const Node* h = trPr ? trPr->child(u"w:trHeight"_s) : nullptr;
            if (h && h->attr(u"w:hRule"_s) != u"atLeast"_s)
                throw std::runtime_error("row height is not a least height");
            out << (h ? h->attr(u"w:val"_s).toInt() : 0);
        }
        return out;
    };
    const QList<int> shortName = heights(u"Цена"_s, 12);
    const QList<int> longName = heights(u"Стоимость квартиры"_s, 12);
    const QList<int> bigFont = heights(u"Цена"_s, 24);
    const QList<int> twoLines = heights(u"Цена\rСтоимость квартиры"_s, 12);
    QCOMPARE(shortName.size(), 2);
    QCOMPARE(shortName[1], 0);
    // Four letters at 12 points are well over 20 points long, yet far less than a page.
    QVERIFY(shortName[0] > 20 * 20 && shortName[0] < 3 * 567);
    QVERIFY(longName[0] > shortName[0]);
    QVERIFY(bigFont[0] > shortName[0]);
    QCOMPARE(twoLines[0], longName[0]);                             // the longest line counts
    QCOMPARE(heights(QString(300, u'Ж'), 72)[0], 16838 - 2 * 1134); // never more than a page
    QCOMPARE(heights(QString(), 12)[0], 0);
}

void TestWordDocument::testPicture_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("widthCm");
    QTest::addColumn<int>("heightCm");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("contentType");

    // The chart is wider than high; the picture is square all the same.
    QTest::newRow("chart bitmap 15 x 15") << bitmap(64, 40) << 15 << 15 << u"bmp"_s << u"image/bmp"_s;
    QTest::newRow("png 3 x 2") << png(5, 5) << 3 << 2 << u"png"_s << u"image/png"_s;
    QTest::newRow("jpeg 1 x 20") << QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10) << 1 << 20 << u"jpeg"_s
                                 << u"image/jpeg"_s;
    QTest::newRow("gif") << Gif1x1 << 4 << 4 << u"gif"_s << u"image/gif"_s;
}

void TestWordDocument::testPicture()
{
    QFETCH(QByteArray, image);
    QFETCH(int, widthCm);
    QFETCH(int, heightCm);
    QFETCH(QString, extension);
    QFETCH(QString, contentType);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(u"graf.bmp"_s); // the name says nothing; the bytes tell the kind
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(image);
    f.close();

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.WriteText(u"До\r"_s);
    w.InsertPicture(file, widthCm, heightCm);
    QVERIFY(f.remove()); // embedded, so the file is no longer needed
    w.WriteText(u"после"_s);
    const Package p = packageOf(w);

    QCOMPARE(bodyOutline(p), (QStringList{u"До"_s, u"после"_s}));
    const Node body = p.body();
    const std::vector<const Node*> inlines = body.descendants(u"wp:inline"_s);
    QCOMPARE(inlines.size(), size_t(1));
    const Node* extent = inlines[0]->child(u"wp:extent"_s);
    QCOMPARE(extent->attr(u"cx"_s).toLongLong(), widthCm * 360000LL);
    QCOMPARE(extent->attr(u"cy"_s).toLongLong(), heightCm * 360000LL);
    const std::vector<const Node*> ext = inlines[0]->descendants(u"a:ext"_s);
    QCOMPARE(ext.size(), size_t(1));
    QCOMPARE(ext[0]->attr(u"cx"_s), extent->attr(u"cx"_s));
    QCOMPARE(ext[0]->attr(u"cy"_s), extent->attr(u"cy"_s));

    const std::vector<const Node*> blips = inlines[0]->descendants(u"a:blip"_s);
    QCOMPARE(blips.size(), size_t(1));
    QVERIFY(!blips[0]->attrs.contains(u"r:link"_s));
    const QString id = blips[0]->attr(u"r:embed"_s);
    QString target;
    const Node rels = p.xml(u"word/_rels/document.xml.rels"_s);
    for (const Node* rel : rels.all(u"Relationship"_s)) {
        if (rel->attr(u"Id"_s) == id) {
            QVERIFY(rel->attr(u"Type"_s).endsWith(u"/relationships/image"_s));
            QVERIFY(!rel->attrs.contains(u"TargetMode"_s));
            target = rel->attr(u"Target"_s);
        }
    }
    QVERIFY(target.endsWith(u'.' + extension));
    QCOMPARE(p.part(u"word/"_s + target), image);

    bool typed = false;
    const Node types = p.xml(u"[Content_Types].xml"_s);
    for (const Node* d : types.all(u"Default"_s)) {
        if (d->attr(u"Extension"_s) == extension)
            typed = d->attr(u"ContentType"_s) == contentType;
    }
    QVERIFY(typed);
}

void TestWordDocument::testSamePictureTwice()
{
    QTemporaryDir dir;
    const QString chart = dir.filePath(u"graf.bmp"_s);
    const QString other = dir.filePath(u"other.png"_s);
    QFile a(chart), b(other);
    QVERIFY(a.open(QIODevice::WriteOnly) && a.write(bitmap(8, 8)) > 0);
    QVERIFY(b.open(QIODevice::WriteOnly) && b.write(png(2, 2)) > 0);
    a.close();
    b.close();

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.InsertPicture(chart, 15, 15);
    w.InsertPicture(other, 2, 2);
    w.InsertPicture(chart, 5, 5);
    const Package p = packageOf(w);

    QStringList media;
    for (const QString& part : p.order) {
        if (part.startsWith(u"word/media/"_s))
            media << part;
    }
    QCOMPARE(media.size(), 2);
    const Node body = p.body();
    QStringList embeds, ids;
    for (const Node* blip : body.descendants(u"a:blip"_s))
        embeds << blip->attr(u"r:embed"_s);
    for (const Node* docPr : body.descendants(u"wp:docPr"_s))
        ids << docPr->attr(u"id"_s);
    QCOMPARE(embeds.size(), 3);
    QCOMPARE(embeds[0], embeds[2]);
    QVERIFY(embeds[0] != embeds[1]);
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 3); // every drawing has an id of its own
}

void TestWordDocument::testPictureFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<int>("code");

    QTest::newRow("missing file") << QByteArray() << int(OptivarError::Code::NotFound);
    QTest::newRow("not an image") << QByteArray("[Alt]\r\nCount=2\r\n") << int(OptivarError::Code::IoError);
    QTest::newRow("empty file") << QByteArray("", 0) << int(OptivarError::Code::IoError);
}

void TestWordDocument::testPictureFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(int, code);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"graf.bmp"_s);
    if (!content.isNull()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.WriteText(u"Список"_s);
    try {
        w.InsertPicture(file, 15, 15);
        QFAIL("InsertPicture accepted a file that is no picture");
    } catch (const OptivarError& e) {
        QCOMPARE(int(e.code()), code);
        QVERIFY(e.message().contains(file));
    }
    QCOMPARE(bodyOutline(packageOf(w)), QStringList{u"Список"_s});
    const Node body = packageOf(w).body();
    QVERIFY(body.descendants(u"w:drawing"_s).empty());
}

void TestWordDocument::testPackageConsistency()
{
    QTemporaryDir dir;
    const QString chart = dir.filePath(u"graf.bmp"_s);
    QFile f(chart);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bitmap(30, 20)) > 0);
    f.close();
    const Package p = unzip(richDocument(chart));

    QCOMPARE(p.order.first(), u"[Content_Types].xml"_s);
    for (const QString& required :
         {u"_rels/.rels"_s, u"word/document.xml"_s, u"word/styles.xml"_s, u"word/_rels/document.xml.rels"_s})
        QVERIFY2(p.order.contains(required), qPrintable(required));

    // Every part has a content type, by its own name or by its extension.
    const Node types = p.xml(u"[Content_Types].xml"_s);
    QHash<QString, QString> byExtension, byPart;
    for (const Node* d : types.all(u"Default"_s))
        byExtension.insert(d->attr(u"Extension"_s).toLower(), d->attr(u"ContentType"_s));
    for (const Node* o : types.all(u"Override"_s))
        byPart.insert(o->attr(u"PartName"_s), o->attr(u"ContentType"_s));
    for (const QString& part : p.order) {
        if (part == u"[Content_Types].xml"_s)
            continue;
        const QString type = byPart.value(u'/' + part, byExtension.value(part.section(u'.', -1).toLower()));
        QVERIFY2(!type.isEmpty(), qPrintable(part));
        if (part.endsWith(u".xml"_s) || part.endsWith(u".rels"_s))
            parseXml(p.part(part)); // well-formed, namespaces declared
    }
    for (const QString& name : byPart.keys())
        QVERIFY2(p.parts.contains(name.mid(1)), qPrintable(name));
    QCOMPARE(byPart.value(u"/word/document.xml"_s),
             u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s);

    // Every relationship leads to a part of the package, and every part but the
    // package's own files is reached.
    QSet<QString> reached;
    for (const auto& [relsPart, base] :
         {std::pair{u"_rels/.rels"_s, QString()}, std::pair{u"word/_rels/document.xml.rels"_s, u"word/"_s}}) {
        QSet<QString> ids;
        const Node rels = p.xml(relsPart);
        for (const Node* rel : rels.all(u"Relationship"_s)) {
            QVERIFY(!ids.contains(rel->attr(u"Id"_s)));
            ids.insert(rel->attr(u"Id"_s));
            const QString target = base + rel->attr(u"Target"_s);
            QVERIFY2(p.parts.contains(target), qPrintable(target));
            reached.insert(target);
        }
    }
    for (const QString& part : p.order) {
        if (!part.contains(u"_rels/"_s) && part != u"[Content_Types].xml"_s)
            QVERIFY2(reached.contains(part), qPrintable(part));
    }

    // Every r:embed of the document names a relationship of the document.
    QSet<QString> documentIds;
    const Node documentRels = p.xml(u"word/_rels/document.xml.rels"_s);
    for (const Node* rel : documentRels.all(u"Relationship"_s))
        documentIds.insert(rel->attr(u"Id"_s));
    const Node body = p.body();
    for (const Node* blip : body.descendants(u"a:blip"_s))
        QVERIFY(documentIds.contains(blip->attr(u"r:embed"_s)));
}

void TestWordDocument::testSchemaOrder()
{
    // Sequences of the WordprocessingML and DrawingML schemas (ECMA-376), cut to
    // the elements around the ones written; names joined by "|" share a place.
    static const QHash<QString, QStringList> order = {
        {u"w:body"_s, {u"w:p|w:tbl"_s, u"w:sectPr"_s}},
        {u"w:p"_s, {u"w:pPr"_s, u"w:r"_s}},
        {u"w:r"_s, {u"w:rPr"_s, u"w:t|w:tab|w:br|w:drawing"_s}},
        {u"w:pPr"_s,
         {u"w:pStyle"_s, u"w:keepNext"_s, u"w:keepLines"_s, u"w:pageBreakBefore"_s, u"w:widowControl"_s, u"w:numPr"_s,
          u"w:pBdr"_s, u"w:shd"_s, u"w:tabs"_s, u"w:spacing"_s, u"w:ind"_s, u"w:jc"_s, u"w:textDirection"_s,
          u"w:outlineLvl"_s, u"w:rPr"_s, u"w:sectPr"_s}},
        {u"w:rPr"_s,
         {u"w:rStyle"_s, u"w:rFonts"_s, u"w:b"_s, u"w:bCs"_s, u"w:i"_s, u"w:iCs"_s, u"w:caps"_s, u"w:strike"_s,
          u"w:color"_s, u"w:spacing"_s, u"w:kern"_s, u"w:sz"_s, u"w:szCs"_s, u"w:highlight"_s, u"w:u"_s, u"w:shd"_s,
          u"w:vertAlign"_s, u"w:lang"_s}},
        {u"w:tbl"_s, {u"w:tblPr"_s, u"w:tblGrid"_s, u"w:tr"_s}},
        {u"w:tblPr"_s,
         {u"w:tblStyle"_s, u"w:tblpPr"_s, u"w:tblOverlap"_s, u"w:bidiVisual"_s, u"w:tblW"_s, u"w:jc"_s,
          u"w:tblCellSpacing"_s, u"w:tblInd"_s, u"w:tblBorders"_s, u"w:shd"_s, u"w:tblLayout"_s, u"w:tblCellMar"_s,
          u"w:tblLook"_s}},
        {u"w:tblBorders"_s, {u"w:top"_s, u"w:left"_s, u"w:bottom"_s, u"w:right"_s, u"w:insideH"_s, u"w:insideV"_s}},
        {u"w:tblCellMar"_s, {u"w:top"_s, u"w:left"_s, u"w:bottom"_s, u"w:right"_s}},
        {u"w:tr"_s, {u"w:tblPrEx"_s, u"w:trPr"_s, u"w:tc"_s}},
        {u"w:tc"_s, {u"w:tcPr"_s, u"w:p|w:tbl"_s}},
        {u"w:tcPr"_s,
         {u"w:cnfStyle"_s, u"w:tcW"_s, u"w:gridSpan"_s, u"w:vMerge"_s, u"w:tcBorders"_s, u"w:shd"_s, u"w:noWrap"_s,
          u"w:tcMar"_s, u"w:textDirection"_s, u"w:tcFitText"_s, u"w:vAlign"_s, u"w:hideMark"_s}},
        {u"w:sectPr"_s,
         {u"w:headerReference"_s, u"w:footerReference"_s, u"w:type"_s, u"w:pgSz"_s, u"w:pgMar"_s, u"w:cols"_s,
          u"w:docGrid"_s}},
        {u"wp:inline"_s,
         {u"wp:extent"_s, u"wp:effectExtent"_s, u"wp:docPr"_s, u"wp:cNvGraphicFramePr"_s, u"a:graphic"_s}},
        {u"pic:pic"_s, {u"pic:nvPicPr"_s, u"pic:blipFill"_s, u"pic:spPr"_s}},
        {u"pic:blipFill"_s, {u"a:blip"_s, u"a:srcRect"_s, u"a:stretch"_s}},
        {u"pic:spPr"_s, {u"a:xfrm"_s, u"a:prstGeom"_s}},
        {u"w:styles"_s, {u"w:docDefaults"_s, u"w:latentStyles"_s, u"w:style"_s}},
        {u"w:docDefaults"_s, {u"w:rPrDefault"_s, u"w:pPrDefault"_s}},
        {u"w:style"_s,
         {u"w:name"_s, u"w:basedOn"_s, u"w:next"_s, u"w:uiPriority"_s, u"w:qFormat"_s, u"w:pPr"_s, u"w:rPr"_s,
          u"w:tblPr"_s}},
    };
    auto rank = [](const QStringList& seq, const QString& name) -> qsizetype {
        for (qsizetype i = 0; i < seq.size(); ++i) {
            if (seq[i].split(u'|').contains(name))
                return i;
        }
        return -1;
    };
    int checked = 0;
    std::function<void(const Node&)> walk = [&](const Node& n) {
        if (order.contains(n.name)) {
            const QStringList& seq = order[n.name];
            qsizetype last = 0;
            for (const Node& c : n.children) {
                const qsizetype r = rank(seq, c.name);
                QVERIFY2(r >= 0, qPrintable(c.name + u" in "_s + n.name));
                QVERIFY2(r >= last, qPrintable(c.name + u" out of order in "_s + n.name));
                last = r;
            }
            ++checked;
        }
        if (n.name == u"w:tc"_s || n.name == u"w:body"_s) {
            // A cell ends with a paragraph; so does the body before its section.
            QVERIFY(!n.children.empty());
            const Node& lastBlock = n.children.back().name == u"w:sectPr"_s ? n.children.end()[-2] : n.children.back();
            QCOMPARE(lastBlock.name, u"w:p"_s);
        }
        if (n.name == u"w:tbl"_s) {
            const size_t columns = n.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s).size();
            QVERIFY(columns > 0);
            for (const Node* tr : n.all(u"w:tr"_s))
                QCOMPARE(tr->all(u"w:tc"_s).size(), columns);
        }
        for (const Node& c : n.children) {
            walk(c);
            if (QTest::currentTestFailed())
                return;
        }
    };

    QTemporaryDir dir;
    const QString chart = dir.filePath(u"graf.bmp"_s);
    QFile f(chart);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bitmap(30, 20)) > 0);
    f.close();
    const Package p = unzip(richDocument(chart));
    walk(p.xml(u"word/document.xml"_s));
    walk(p.xml(u"word/styles.xml"_s));
    QVERIFY(checked > 50);
}

void TestWordDocument::testFullReportShape()
{
    // The full report of the largest problem: nine criteria, nine alternatives,
    // ten matrix tables and the chart.
    QTemporaryDir dir;
    const QString chart = dir.filePath(u"graf.bmp"_s);
    QFile f(chart);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bitmap(400, 300)) > 0);
    f.close();

    TFormWord w(nowhere());
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    w.WriteText(u"Протокол анализа альтернатив для принятия управленческого решения.\n\r"_s);
    for (int t = 0; t < 10; ++t) {
        w.GoToEnd();
        w.WriteText(u"\n\rМатрица парных сравнений\n\r"_s);
        w.AddTable(10, 10, 1, 1, 0);
        w.SetColumnWidth(1, 4.0);
        for (int c = 2; c <= 10; ++c) {
            w.SetColumnWidth(c, 1.7);
            if (t == 0)
                w.WriteCellUpward(1, c, u"Критерий "_s + QString::number(c - 1));
            else
                w.WriteCell(1, c, u"Альтернатива "_s + QString::number(c - 1));
            w.WriteCell(c, 1, u"Элемент "_s + QString::number(c - 1));
        }
        for (int r = 2; r <= 10; ++r) {
            for (int c = r; c <= 10; ++c) {
                w.WriteCell(r, c, c == r ? u"-"_s : u"3/1"_s);
                if (c != r)
                    w.WriteCell(c, r, u"1/3"_s);
            }
        }
        w.StretchTable();
    }
    w.GoToEnd();
    w.InsertPicture(chart, 15, 15);
    w.GoToEnd();
    w.WriteText(u"\n\r"_s);

    const Node body = unzip(w.documentBytes(Stamp)).body();
    const std::vector<const Node*> tables = body.all(u"w:tbl"_s);
    QCOMPARE(tables.size(), size_t(10));
    for (const Node* t : tables) {
        QCOMPARE(t->all(u"w:tr"_s).size(), size_t(10));
        QCOMPARE(t->descendants(u"w:tc"_s).size(), size_t(100));
        QCOMPARE(t->descendants(u"w:textDirection"_s).size(), t == tables.front() ? size_t(9) : size_t(0));
        const QString outline = blockOutline(*t);
        QCOMPARE(outline.count(u"3/1"_s), 36);
        QCOMPARE(outline.count(u"1/3"_s), 36);
    }
    QCOMPARE(body.descendants(u"w:drawing"_s).size(), size_t(1));
}

void TestWordDocument::testDocumentFileName_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<TFormWord::Kind>("kind");
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("expected");

    QTest::newRow("full report") << u"Квартира"_s << TFormWord::Kind::FullReport << 1
                                 << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("short report") << u"Квартира"_s << TFormWord::Kind::ShortReport << 1
                                  << u"Квартира краткий отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("questionnaire, third copy")
        << u"Банк"_s << TFormWord::Kind::Questionnaire << 3 << u"Банк анкета 2024-03-05 14-07-09 (3).docx"_s;
    QTest::newRow("unsafe characters") << u"a/b:c*d?\"e<f>g|h\\i\tj"_s << TFormWord::Kind::Questionnaire << 1
                                       << u"a_b_c_d__e_f_g_h_i_j анкета 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("dots and blanks at the ends")
        << u" ..Машина. "_s << TFormWord::Kind::Questionnaire << 2 << u"Машина анкета 2024-03-05 14-07-09 (2).docx"_s;
    QTest::newRow("no name") << u" . "_s << TFormWord::Kind::FullReport << 1
                             << u"полный отчет 2024-03-05 14-07-09.docx"_s;
}

void TestWordDocument::testDocumentFileName()
{
    QFETCH(QString, problem);
    QFETCH(TFormWord::Kind, kind);
    QFETCH(int, copy);
    QFETCH(QString, expected);
    QCOMPARE(TFormWord::documentFileName(problem, kind, Stamp, copy), expected);
}

void TestWordDocument::testLongProblemNameFits()
{
    // 255 Cyrillic letters are 510 bytes in a file name; an emoji at the cut must not be split.
    const QString problem = QString(200, u'Ж') + u"😀"_s.repeated(30);
    QString first;
    for (int copy : {1, 2, 9999}) {
        const QString name = TFormWord::documentFileName(problem, TFormWord::Kind::ShortReport, Stamp, copy);
        QVERIFY(name.toUtf8().size() <= 255);
        QVERIFY(name.endsWith(u" краткий отчет 2024-03-05 14-07-09"_s +
                              (copy > 1 ? u" ("_s + QString::number(copy) + u')' : QString()) + u".docx"_s));
        const QString cut = name.section(u" краткий отчет"_s, 0, 0);
        QVERIFY(problem.startsWith(cut));
        if (copy == 9999) // the name is cut no shorter than it must be: one more letter (2 bytes) would not fit
            QVERIFY(name.toUtf8().size() > 255 - 2);
        QVERIFY(!cut.back().isHighSurrogate());
        if (first.isEmpty())
            first = cut;
        QCOMPARE(cut, first); // every copy keeps the same part of the name
    }

    // The file system takes it.
    QTemporaryDir dir;
    TFormWord w({dir.path(), problem, TFormWord::Kind::ShortReport, {}, [] { return Stamp; }});
    w.NewDocument(true);
    const QString path = w.Close();
    QVERIFY(QFile::exists(path));
}

void TestWordDocument::testCloseSavesAndOpens_data()
{
    QTest::addColumn<TFormWord::Kind>("kind");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("full report") << TFormWord::Kind::FullReport << true
                                 << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("short report") << TFormWord::Kind::ShortReport << true
                                  << u"Квартира краткий отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("questionnaire") << TFormWord::Kind::Questionnaire << true
                                   << u"Квартира анкета 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("not visible: saved, not opened")
        << TFormWord::Kind::FullReport << false << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
}

void TestWordDocument::testCloseSavesAndOpens()
{
    QFETCH(TFormWord::Kind, kind);
    QFETCH(bool, visible);
    QFETCH(QString, fileName);

    QTemporaryDir dir;
    const QString dat = dir.filePath(u"DAT"_s);
    QVERIFY(QDir().mkpath(dat));
    QStringList opened;
    TFormWord w({dat, u"Квартира"_s, kind,
                 [&opened](const QString& path) {
                     opened << path;
                     return false;
                 },
                 [] { return Stamp; }});
    w.NewDocument(visible);
    w.SetFont(QString(), 12, 0, 0, 0);
    w.WriteText(u"Анкета для принятия управленческого решения.\n\r"_s);
    const QString path = w.Close();

    QCOMPARE(path, dat + u"/Отчеты/"_s + fileName);
    QCOMPARE(opened, visible ? QStringList{path} : QStringList{});
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const Package p = unzip(saved.readAll());
    QCOMPARE(bodyOutline(p), (QStringList{u"Анкета для принятия управленческого решения."_s, QString(), QString()}));
    QCOMPARE(QDir(dat + u"/Отчеты"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{fileName}); // no temporary file left

    // The document is finished; the next one needs a new start.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, w.WriteText(u"ещё"_s));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, w.Close());
}

void TestWordDocument::testCloseNeverOverwrites()
{
    QTemporaryDir dir;
    QStringList opened;
    auto exportOnce = [&](const QString& text) {
        TFormWord w({dir.path(), u"Квартира"_s, TFormWord::Kind::ShortReport,
                     [&opened](const QString& path) {
                         opened << path;
                         return true;
                     },
                     [] { return Stamp; }});
        w.NewDocument(true);
        w.WriteText(text);
        return w.Close();
    };
    const QString first = exportOnce(u"первый"_s);
    const QString second = exportOnce(u"второй"_s);
    const QString third = exportOnce(u"третий"_s);

    const QString folder = dir.path() + u"/Отчеты/Квартира краткий отчет 2024-03-05 14-07-09"_s;
    QCOMPARE((QStringList{first, second, third}),
             (QStringList{folder + u".docx"_s, folder + u" (2).docx"_s, folder + u" (3).docx"_s}));
    QCOMPARE(opened, (QStringList{first, second, third}));
    QStringList texts;
    for (const QString& path : {first, second, third}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        texts << bodyOutline(unzip(f.readAll()));
    }
    QCOMPARE(texts, (QStringList{u"первый"_s, u"второй"_s, u"третий"_s}));
}

void TestWordDocument::testCloseFailureLeavesNothing()
{
    QTemporaryDir dir;
    // "Отчеты" cannot be made: a file has the name.
    const QString blocked = dir.filePath(u"blocked"_s);
    QVERIFY(QDir().mkpath(blocked));
    QFile plug(blocked + u"/Отчеты"_s);
    QVERIFY(plug.open(QIODevice::WriteOnly));
    plug.close();

    QStringList opened;
    auto opener = [&opened](const QString& path) {
        opened << path;
        return true;
    };
    TFormWord w({blocked, u"Квартира"_s, TFormWord::Kind::FullReport, opener, {}});
    w.NewDocument(true);
    w.WriteText(u"Список альтернатив:"_s);
    QVERIFY_THROWS_EXCEPTION(OptivarError, w.Close());
    QCOMPARE(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{u"Отчеты"_s});

    // A disk that takes no more than 512 bytes of a file (a limit that holds for root too).
    const QString full = dir.filePath(u"full"_s);
    TFormWord r({full, u"Квартира"_s, TFormWord::Kind::FullReport, opener, [] { return Stamp; }});
    r.NewDocument(true);
    r.WriteText(u"Список альтернатив:"_s);
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    rlimit small = saved;
    small.rlim_cur = 512;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    QString message;
    try {
        r.Close();
    } catch (const OptivarError& e) {
        message = e.message();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    // The error names the document, not some later copy the writer went on to try.
    QVERIFY(message.endsWith(u"/Отчеты/Квартира полный отчет 2024-03-05 14-07-09.docx"_s));
    QVERIFY(QDir(full + u"/Отчеты"_s).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(opened.isEmpty());
}

void TestWordDocument::testMisuse_data()
{
    QTest::addColumn<bool>("newDocument");
    QTest::addColumn<Operation>("operation");

    QTest::newRow("text before NewDocument") << false << Operation([](TFormWord& w) { w.WriteText(u"а"_s); });
    QTest::newRow("font before NewDocument")
        << false << Operation([](TFormWord& w) { w.SetFont(QString(), 12, 0, 0, 0); });
    QTest::newRow("table before NewDocument") << false << Operation([](TFormWord& w) { w.AddTable(2, 2, 1, 1, 0); });
    QTest::newRow("GoToEnd before NewDocument") << false << Operation([](TFormWord& w) { w.GoToEnd(); });
    QTest::newRow("Close before NewDocument") << false << Operation([](TFormWord& w) { w.Close(); });
    QTest::newRow("cell before AddTable") << true << Operation([](TFormWord& w) { w.WriteCell(1, 1, u"а"_s); });
    QTest::newRow("width before AddTable") << true << Operation([](TFormWord& w) { w.SetColumnWidth(1, 4.0); });
    QTest::newRow("stretch before AddTable") << true << Operation([](TFormWord& w) { w.StretchTable(); });
    QTest::newRow("align before AddTable") << true << Operation([](TFormWord& w) { w.AlignRows(1); });
    QTest::newRow("heading before AddTable") << true << Operation([](TFormWord& w) { w.MarkHeadingRow(1); });
    QTest::newRow("row 0") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.WriteCell(0, 1, u"а"_s);
    });
    QTest::newRow("row past the table") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.WriteCellUpward(3, 1, u"а"_s);
    });
    QTest::newRow("column past the table") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.WriteCell(2, 4, u"а"_s);
    });
    QTest::newRow("width of column 4 of 3") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.SetColumnWidth(4, 1.7);
    });
    QTest::newRow("width 0") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.SetColumnWidth(1, 0.0);
    });
    QTest::newRow("width not a number") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.SetColumnWidth(1, std::nan(""));
    });
    QTest::newRow("width over 22 inches") << true << Operation([](TFormWord& w) {
        w.AddTable(2, 3, 1, 1, 0);
        w.SetColumnWidth(1, 56.0);
    });
    QTest::newRow("no rows") << true << Operation([](TFormWord& w) { w.AddTable(0, 2, 1, 1, 0); });
    QTest::newRow("64 columns") << true << Operation([](TFormWord& w) { w.AddTable(1, 64, 1, 1, 0); });
    QTest::newRow("font of 1639 points") << true
                                         << Operation([](TFormWord& w) { w.SetFont(QString(), 1639, 0, 0, 0); });
    QTest::newRow("picture of width 0") << true
                                        << Operation([](TFormWord& w) { w.InsertPicture(u"graf.bmp"_s, 0, 15); });
}

void TestWordDocument::testMisuse()
{
    QFETCH(bool, newDocument);
    QFETCH(Operation, operation);

    TFormWord w(nowhere());
    if (newDocument)
        w.NewDocument(true);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, operation(w));
}

QTEST_GUILESS_MAIN(TestWordDocument)
#include "test_word_document.moc"
