#include "report/TFormWord.h"

#include "storage/OptivarError.h"

#include "DocxReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <csignal>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

using namespace DocxReader;

namespace {

const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 7, 9));

Package packageOf(const TFormWord& w)
{
    return unzip(w.documentBytes(Stamp));
}

// Run properties as "font|half-points|b|i|underline", empty fields for what is not set.
QString fontKey(const Node* rPr)
{
    if (!rPr)
        return u"||||"_s;
    const Node* fonts = rPr->child(u"w:rFonts"_s);
    const Node* sz = rPr->child(u"w:sz"_s);
    const Node* u = rPr->child(u"w:u"_s);
    if (fonts && fonts->attr(u"w:hAnsi"_s) != fonts->attr(u"w:ascii"_s)) // Cyrillic takes the hAnsi font
        return u"ascii and hAnsi fonts differ"_s;
    return QStringList{fonts ? fonts->attr(u"w:ascii"_s) : QString(), sz ? sz->attr(u"w:val"_s) : QString(),
                       rPr->child(u"w:b"_s) ? u"b"_s : QString(), rPr->child(u"w:i"_s) ? u"i"_s : QString(),
                       u ? u->attr(u"w:val"_s) : QString()}
        .join(u'|');
}

// ---- Scripts of operations ------------------------------------------------------

struct Step
{
    enum Op { Text, Font, Table, Cell, Upward, Width, Stretch, End, Picture, Keep } op;
    QList<int> n;
    QString text;
    double cm = 0;
};
Step text(const QString& s)
{
    return {Step::Text, {}, s};
}
Step font(int size, int bold = 0, int italic = 0, int underline = 0, const QString& name = {})
{
    return {Step::Font, {size, bold, italic, underline}, name};
}
Step table(int rows, int columns, int border = 1, int align = 1, int heading = 0)
{
    return {Step::Table, {rows, columns, border, align, heading}, {}};
}
Step cell(int row, int column, const QString& s)
{
    return {Step::Cell, {row, column}, s};
}
Step upward(int row, int column, const QString& s)
{
    return {Step::Upward, {row, column}, s};
}
Step width(int column, double cm)
{
    return {Step::Width, {column}, {}, cm};
}
Step stretch()
{
    return {Step::Stretch, {}, {}};
}
Step end()
{
    return {Step::End, {}, {}};
}
Step picture(const QString& path, int w, int h)
{
    return {Step::Picture, {w, h}, path};
}
Step keep(bool withNext, bool together)
{
    return {Step::Keep, {withNext, together}, {}};
}

void run(TFormWord& w, const QList<Step>& script)
{
    for (const Step& s : script) {
        switch (s.op) {
        case Step::Text:
            w.WriteText(s.text);
            break;
        case Step::Font:
            w.SetFont(s.text, s.n[0], s.n[1], s.n[2], s.n[3]);
            break;
        case Step::Table:
            w.AddTable(s.n[0], s.n[1], s.n[2], s.n[3], s.n[4]);
            break;
        case Step::Cell:
            w.WriteCell(s.n[0], s.n[1], s.text);
            break;
        case Step::Upward:
            w.WriteCellUpward(s.n[0], s.n[1], s.text);
            break;
        case Step::Width:
            w.SetColumnWidth(s.n[0], s.cm);
            break;
        case Step::Stretch:
            w.StretchTable();
            break;
        case Step::End:
            w.GoToEnd();
            break;
        case Step::Picture:
            w.InsertPicture(s.text, s.n[0], s.n[1]);
            break;
        case Step::Keep:
            w.setParagraphFormat(s.n[0] != 0, s.n[1] != 0);
            break;
        }
    }
}

TFormWord::Destination nowhere()
{
    return {QString(), u"Задача"_s, TFormWord::Kind::FullReport, {}, {}};
}

// A document written by script, its font set as the reports set it.
Package written(const QList<Step>& script)
{
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    run(w, script);
    return packageOf(w);
}

Node firstTable(const Package& p)
{
    const Node body = p.body();
    return *body.child(u"w:tbl"_s);
}

// Only the first bytes tell the writer what an image is.
const QByteArray BmpBytes = QByteArray("BM") + QByteArray(60, '\x20');
const QByteArray PngBytes = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, '\x01');

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a fixture");
    return f.fileName();
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(TFormWord::Kind)

class TestWordDocument final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testTypedText_data();
    void testTypedText();
    void testRunFont_data();
    void testRunFont();
    void testRunsFollowFontChanges();
    void testInsertionPoint_data();
    void testInsertionPoint();
    void testParagraphFormat_data();
    void testParagraphFormat();
    void testTableProperties_data();
    void testTableProperties();
    void testColumnWidth_data();
    void testColumnWidth();
    void testStretchFillsTextWidth();
    void testUpwardCells();
    void testPicture_data();
    void testPicture();
    void testPictureFailures_data();
    void testPictureFailures();
    void testPackageConsistency();
    void testSchemaOrder();
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

    const QString cut(255, u'я');
    QTest::newRow("pieces join") << QStringList{u"Лучший выбор - "_s, u"Квартира"_s}
                                 << QStringList{u"Лучший выбор - Квартира"_s};
    QTest::newRow("carriage return") << QStringList{u"а\rб"_s} << QStringList{u"а"_s, u"б"_s};
    QTest::newRow("line feed") << QStringList{u"а\nб"_s} << QStringList{u"а"_s, u"б"_s};
    QTest::newRow("line feed and return leave an empty line")
        << QStringList{u"Заголовок\n\r"_s, u"Список"_s} << QStringList{u"Заголовок"_s, QString(), u"Список"_s};
    QTest::newRow("return at the end") << QStringList{u"1. Цена\r"_s} << QStringList{u"1. Цена"_s, QString()};
    QTest::newRow("blanks kept") << QStringList{u"  45,67%  "_s} << QStringList{u"  45,67%  "_s};
    QTest::newRow("300 characters cut to 255") << QStringList{QString(300, u'я')} << QStringList{cut};
    QTest::newRow("a return past 255 is cut away") << QStringList{cut + u"\rб"_s} << QStringList{cut};
    QTest::newRow("tab, line and page break") << QStringList{u"а\tб\vв\fг"_s} << QStringList{u"а\tб\vв\fг"_s};
    QTest::newRow("control characters dropped") << QStringList{u"а\x01б\x1f"_s} << QStringList{u"аб"_s};
    QTest::newRow("noncharacters dropped") << QStringList{u"а\uFFFEб\uFFFF"_s} << QStringList{u"аб"_s};
    QTest::newRow("lone surrogate dropped") << QStringList{u"а"_s + QChar(0xD800) + u"б"_s} << QStringList{u"аб"_s};
    QTest::newRow("pair kept") << QStringList{u"а😀"_s} << QStringList{u"а😀"_s};
    QTest::newRow("markup characters") << QStringList{u"<a & \"b\">"_s} << QStringList{u"<a & \"b\">"_s};
    QTest::newRow("nothing typed") << QStringList{} << QStringList{QString()};
}

void TestWordDocument::testTypedText()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, paragraphs);
    QList<Step> script;
    for (const QString& piece : pieces)
        script << text(piece);
    QCOMPARE(bodyOutline(written(script)), paragraphs);
}

void TestWordDocument::testRunFont_data()
{
    QTest::addColumn<QList<Step>>("calls");
    QTest::addColumn<QString>("key"); // font|half-points|b|i|underline

    QTest::newRow("size only") << QList<Step>{font(12)} << u"|24|||"_s;
    QTest::newRow("name and all flags") << QList<Step>{font(14, 1, 1, 1, u"Arial"_s)} << u"Arial|28|b|i|single"_s;
    QTest::newRow("Word's true, double underline") << QList<Step>{font(11, -1, -1, 3)} << u"|22|b|i|double"_s;
    QTest::newRow("unknown underline kind") << QList<Step>{font(11, 0, 0, 5)} << u"|22|||single"_s;
    QTest::newRow("empty name and size 0 keep them, flags replaced")
        << QList<Step>{font(14, 1, 0, 1, u"Arial"_s), font(0, 0, 1, 0)} << u"Arial|28||i|"_s;
    QTest::newRow("negative size keeps the size") << QList<Step>{font(12), font(-5, 1)} << u"|24|b||"_s;
    QTest::newRow("a new name replaces") << QList<Step>{font(12, 0, 0, 0, u"Arial"_s), font(0, 0, 0, 0, u"Tahoma"_s)}
                                         << u"Tahoma|24|||"_s;
    QTest::newRow("name cut to 255") << QList<Step>{font(12, 0, 0, 0, QString(300, u'Ш'))}
                                     << QString(255, u'Ш') + u"|24|||"_s;
    QTest::newRow("largest size") << QList<Step>{font(1638)} << u"|3276|||"_s;
}

void TestWordDocument::testRunFont()
{
    QFETCH(QList<Step>, calls);
    QFETCH(QString, key);

    TFormWord w(nowhere());
    w.NewDocument(true);
    const QList<int> flags = calls.constLast().n.mid(1);
    run(w, calls << text(u"Цена\r"_s));
    QCOMPARE(w.FontName() + u'|' + QString::number(w.FontSize() * 2), key.section(u'|', 0, 1));
    QCOMPARE((QList<int>{w.FontBold(), w.FontItalic(), w.FontUnderline()}), flags); // passed on unchanged

    const Node body = packageOf(w).body();
    const std::vector<const Node*> paragraphs = body.all(u"w:p"_s);
    QCOMPARE(paragraphs.size(), size_t(2));
    QCOMPARE(paragraphs[0]->all(u"w:r"_s).size(), size_t(1));
    // The run and both paragraph marks carry the font.
    QCOMPARE(fontKey(paragraphs[0]->child(u"w:r"_s)->child(u"w:rPr"_s)), key);
    for (const Node* p : paragraphs)
        QCOMPARE(fontKey(p->child(u"w:pPr"_s)->child(u"w:rPr"_s)), key);
}

void TestWordDocument::testRunsFollowFontChanges()
{
    const Package p = written({text(u"1. "_s), text(u"Цена"_s), font(0, 1), text(u" важнее"_s), font(0), text(u"."_s)});
    const Node body = p.body();
    QStringList runs;
    for (const Node* r : body.child(u"w:p"_s)->all(u"w:r"_s))
        runs << r->child(u"w:t"_s)->text + u'/' + fontKey(r->child(u"w:rPr"_s));
    QCOMPARE(runs, (QStringList{u"1. Цена/|24|||"_s, u" важнее/|24|b||"_s, u"./|24|||"_s}));
    QCOMPARE(body.child(u"w:p"_s)->child(u"w:r"_s)->child(u"w:t"_s)->attr(u"xml:space"_s), u"preserve"_s);
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
    QTest::newRow("cells in any order") << QList<Step>{table(2, 3), cell(2, 3, u"6"_s), cell(1, 1, u"1"_s),
                                                       cell(2, 1, u"4"_s)}
                                        << QStringList{u"[1||;4||6]"_s, QString()};
    QTest::newRow("a table in a cell") << QList<Step>{table(1, 1), table(1, 1), text(u"х"_s), end(), text(u"у"_s)}
                                       << QStringList{u"[[х]¶]"_s, u"у"_s};
    QTest::newRow("two tables") << QList<Step>{text(u"А\n\r"_s), table(1, 1), cell(1, 1, u"а"_s), end(),
                                               text(u"Б\n\r"_s), table(1, 1), cell(1, 1, u"б"_s), end()}
                                << QStringList{u"А"_s, QString(), u"[а]"_s, u"Б"_s, QString(), u"[б]"_s, QString()};
}

void TestWordDocument::testInsertionPoint()
{
    QFETCH(QList<Step>, script);
    QFETCH(QStringList, outline);
    QCOMPARE(bodyOutline(written(script)), outline);
}

void TestWordDocument::testParagraphFormat_data()
{
    QTest::addColumn<QList<Step>>("script");
    QTest::addColumn<QStringList>("outline"); // text|flags, N: keep with next, L: keep lines together

    QTest::newRow("set where typing goes, taken over at a line end")
        << QList<Step>{keep(true, false), text(u"а\rб\r"_s), keep(false, true), text(u"в"_s)}
        << QStringList{u"а|N"_s, u"б|N"_s, u"в|L"_s};
    QTest::newRow("cleared before a table: neither the table nor what follows keeps")
        << QList<Step>{keep(true, true), text(u"А\n\r"_s), keep(false, false), table(1, 1), end(), text(u"Б"_s)}
        << QStringList{u"А|NL"_s, u"|NL"_s, u"[table]"_s, u"Б|"_s};
}

void TestWordDocument::testParagraphFormat()
{
    QFETCH(QList<Step>, script);
    QFETCH(QStringList, outline);
    const Package p = written(script);
    QCOMPARE(flaggedOutline(p), outline);
    const Node body = p.body();
    QCOMPARE(body.all(u"w:keepNext"_s, true).size(), size_t(outline.filter(u"|N"_s).size()));
}

void TestWordDocument::testTableProperties_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("headingRow");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<QString>("jc");
    QTest::addColumn<bool>("heading");

    QTest::newRow("all defaults") << 0 << 3 << 0 << u"single"_s << QString() << false;
    QTest::newRow("single, centred, as the reports") << 1 << 1 << 0 << u"single"_s << u"center"_s << false;
    QTest::newRow("double, left, heading") << 2 << 0 << 1 << u"double"_s << u"left"_s << true;
    QTest::newRow("triple, right") << 3 << 2 << 2 << u"triple"_s << u"right"_s << false;
    QTest::newRow("border 4, alignment -1 ignored") << 4 << -1 << -1 << u"single"_s << QString() << false;
}

void TestWordDocument::testTableProperties()
{
    QFETCH(int, border);
    QFETCH(int, alignment);
    QFETCH(int, headingRow);
    QFETCH(QString, outside);
    QFETCH(QString, jc);
    QFETCH(bool, heading);

    const Node tbl = firstTable(written({table(3, 2, border, alignment, headingRow)}));
    const Node* tblPr = tbl.child(u"w:tblPr"_s);
    QStringList borders;
    for (const Node& side : tblPr->child(u"w:tblBorders"_s)->children)
        borders << side.name + u'=' + side.attr(u"w:val"_s);
    // Inside lines stay single whatever the outside.
    QCOMPARE(borders, (QStringList{u"w:top="_s + outside, u"w:left="_s + outside, u"w:bottom="_s + outside,
                                   u"w:right="_s + outside, u"w:insideH=single"_s, u"w:insideV=single"_s}));
    const Node* jcNode = tblPr->child(u"w:jc"_s);
    QCOMPARE(jcNode ? jcNode->attr(u"w:val"_s) : QString(), jc);
    QList<bool> marked;
    for (const Node* tr : tbl.all(u"w:tr"_s))
        marked << !tr->all(u"w:tblHeader"_s, true).empty();
    QCOMPARE(marked, (QList<bool>{heading, false, false}));
}

void TestWordDocument::testColumnWidth_data()
{
    QTest::addColumn<double>("widthCm");
    QTest::addColumn<int>("twips");

    // One inch is 2.54 cm and 1440 twips.
    QTest::newRow("name column 4 cm") << 4.0 << 2268;   // 2267.72
    QTest::newRow("value column 1.7 cm") << 1.7 << 964; // 963.78
    QTest::newRow("smallest") << 0.001 << 1;
    QTest::newRow("22 inches") << 55.88 << 31680;
}

void TestWordDocument::testColumnWidth()
{
    QFETCH(double, widthCm);
    QFETCH(int, twips);

    const Node tbl = firstTable(written({table(2, 3), width(2, widthCm)}));
    QStringList grid;
    for (const Node* g : tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s))
        grid << g->attr(u"w:w"_s);
    // The other columns keep their equal share of the 16.5 cm between the margins.
    QCOMPARE(grid, (QStringList{u"3118"_s, QString::number(twips), u"3118"_s}));
    QCOMPARE(tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s)->attr(u"w:type"_s), u"auto"_s);
    for (const Node* tr : tbl.all(u"w:tr"_s)) {
        QStringList cells;
        for (const Node* tcW : tr->all(u"w:tcW"_s, true))
            cells << tcW->attr(u"w:w"_s) + tcW->attr(u"w:type"_s);
        QCOMPARE(cells, (QStringList{grid[0] + u"dxa"_s, grid[1] + u"dxa"_s, grid[2] + u"dxa"_s}));
    }
}

void TestWordDocument::testStretchFillsTextWidth()
{
    const Node tbl =
        firstTable(written({table(2, 4), width(1, 4.0), width(2, 1.7), width(3, 1.7), width(4, 1.7), stretch()}));
    const Node* tblW = tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s);
    QCOMPARE(tblW->attr(u"w:w"_s) + tblW->attr(u"w:type"_s), u"5000pct"_s);
    QList<int> widths;
    for (const Node* g : tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s))
        widths << g->attr(u"w:w"_s).toInt();
    QCOMPARE(widths.size(), 4);
    QCOMPARE(widths[0] + widths[1] + widths[2] + widths[3], 9355); // the width between the margins
    QVERIFY(qAbs(widths[0] * 1.7 / 4.0 - widths[1]) <= 1.0);       // in proportion, 4 : 1.7
    QVERIFY(qAbs(widths[1] - widths[3]) <= 1);
}

void TestWordDocument::testUpwardCells()
{
    // Upward text runs bottom to top in its cell; its row gets a least height
    // that grows with the longest line (LibreOffice would keep it one line high).
    auto rowHeight = [](const Node& tr) {
        const std::vector<const Node*> h = tr.all(u"w:trHeight"_s, true);
        return h.empty() ? 0 : (h[0]->attr(u"w:hRule"_s) == u"atLeast"_s ? h[0]->attr(u"w:val"_s).toInt() : -1);
    };
    auto heightFor = [&](const QString& s, int size) {
        const Node tbl = firstTable(written({font(size), table(2, 2), upward(1, 2, s)}));
        return rowHeight(*tbl.child(u"w:tr"_s));
    };
    const Node tbl = firstTable(
        written({table(2, 3), upward(1, 2, u"Цена"_s), cell(1, 3, u"Район"_s), cell(1, 2, u"Цена жилья"_s)}));
    QStringList directions;
    for (const Node* tc : tbl.all(u"w:tc"_s, true)) {
        const Node* d = tc->child(u"w:tcPr"_s)->child(u"w:textDirection"_s);
        directions << (d ? d->attr(u"w:val"_s) : QString());
    }
    QCOMPARE(directions, (QStringList{QString(), u"btLr"_s, QString(), QString(), QString(), QString()}));
    QCOMPARE(outline(tbl), u"[|Цена жилья|Район;||]"_s); // rewriting kept the direction
    QCOMPARE(rowHeight(*tbl.all(u"w:tr"_s)[1]), 0);

    const int four = heightFor(u"Цена"_s, 12);
    QVERIFY(four > 20 * 20 && four < 3 * 567); // four letters: more than 20 points, less than 3 cm
    QVERIFY(heightFor(u"Стоимость квартиры"_s, 12) > four);
    QVERIFY(heightFor(u"Цена"_s, 24) > four);
    QCOMPARE(heightFor(u"Цена\rСтоимость квартиры"_s, 12), heightFor(u"Стоимость квартиры"_s, 12));
    QCOMPARE(heightFor(QString(255, u'Ж'), 72), 16838 - 2 * 1134); // never more than a page
    QCOMPARE(heightFor(QString(), 12), 0);
}

void TestWordDocument::testPicture_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("widthCm");
    QTest::addColumn<int>("heightCm");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("contentType");

    QTest::newRow("bitmap 15 x 15") << BmpBytes << 15 << 15 << u"bmp"_s << u"image/bmp"_s;
    QTest::newRow("png 3 x 2") << PngBytes << 3 << 2 << u"png"_s << u"image/png"_s;
    QTest::newRow("jpeg 1 x 20") << QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10) << 1 << 20 << u"jpeg"_s
                                 << u"image/jpeg"_s;
    QTest::newRow("gif") << QByteArray("GIF89a\x01\x00\x01\x00", 10) << 4 << 4 << u"gif"_s << u"image/gif"_s;
}

void TestWordDocument::testPicture()
{
    QFETCH(QByteArray, image);
    QFETCH(int, widthCm);
    QFETCH(int, heightCm);
    QFETCH(QString, extension);
    QFETCH(QString, contentType);

    QTemporaryDir dir;
    const QString file = writeFile(dir, u"graf.bmp"_s, image); // the bytes, not the name, tell the kind
    TFormWord w(nowhere());
    w.NewDocument(true);
    run(w, {text(u"До\r"_s), picture(file, widthCm, heightCm)});
    QVERIFY(QFile::remove(file)); // embedded, so the file is no longer needed
    w.WriteText(u"после"_s);
    const Package p = packageOf(w);

    QCOMPARE(bodyOutline(p), (QStringList{u"До"_s, u"после"_s}));
    const Node body = p.body();
    const std::vector<const Node*> inlines = body.all(u"wp:inline"_s, true);
    QCOMPARE(inlines.size(), size_t(1));
    const QString emu = QString::number(widthCm * 360000) + u'x' + QString::number(heightCm * 360000);
    const Node* extent = inlines[0]->child(u"wp:extent"_s);
    const Node* ext = inlines[0]->all(u"a:ext"_s, true).at(0);
    QCOMPARE(extent->attr(u"cx"_s) + u'x' + extent->attr(u"cy"_s), emu);
    QCOMPARE(ext->attr(u"cx"_s) + u'x' + ext->attr(u"cy"_s), emu);

    const Node* blip = inlines[0]->all(u"a:blip"_s, true).at(0);
    QVERIFY(!blip->attrs.contains(u"r:link"_s));
    QString target;
    const Node rels = p.xml(u"word/_rels/document.xml.rels"_s);
    for (const Node* rel : rels.all(u"Relationship"_s)) {
        if (rel->attr(u"Id"_s) == blip->attr(u"r:embed"_s) && !rel->attrs.contains(u"TargetMode"_s) &&
            rel->attr(u"Type"_s).endsWith(u"/relationships/image"_s))
            target = rel->attr(u"Target"_s);
    }
    QVERIFY(target.endsWith(u'.' + extension));
    QCOMPARE(p.parts.value(u"word/"_s + target), image);
    QStringList types;
    const Node contentTypes = p.xml(u"[Content_Types].xml"_s);
    for (const Node* d : contentTypes.all(u"Default"_s))
        types << d->attr(u"Extension"_s) + u'=' + d->attr(u"ContentType"_s);
    QVERIFY(types.contains(extension + u'=' + contentType));
}

void TestWordDocument::testPictureFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<OptivarError::Code>("code");

    QTest::newRow("missing file") << QByteArray() << OptivarError::Code::NotFound;
    QTest::newRow("not an image") << QByteArray("[Alt]\r\nCount=2\r\n") << OptivarError::Code::IoError;
    QTest::newRow("empty file") << QByteArray("", 0) << OptivarError::Code::IoError;
}

void TestWordDocument::testPictureFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(OptivarError::Code, code);

    QTemporaryDir dir;
    const QString file = content.isNull() ? dir.filePath(u"graf.bmp"_s) : writeFile(dir, u"graf.bmp"_s, content);
    TFormWord w(nowhere());
    w.NewDocument(true);
    w.WriteText(u"Список"_s);
    try {
        w.InsertPicture(file, 15, 15);
        QFAIL("InsertPicture took a file that is no picture");
    } catch (const OptivarError& e) {
        QCOMPARE(e.code(), code);
        QVERIFY(e.message().contains(file));
    }
    const Package p = packageOf(w);
    QCOMPARE(bodyOutline(p), QStringList{u"Список"_s});
    QVERIFY(p.order.filter(u"media"_s).isEmpty());
}

// Everything the writer makes: fonts, paragraphs, tables of each kind, a table in a cell, a picture.
static Package richDocument(const QTemporaryDir& dir)
{
    return written({keep(true, true),
                    text(u"Протокол.\n\r"_s),
                    font(14, 1, 1, 1, u"Arial"_s),
                    text(u"Матрица\n\r"_s),
                    table(3, 3, 2, 1, 1),
                    width(1, 4.0),
                    upward(1, 2, u"Цена"_s),
                    cell(2, 1, u"Цена"_s),
                    cell(2, 2, u"-"_s),
                    stretch(),
                    end(),
                    font(12),
                    text(u"\n\r"_s),
                    table(1, 1, 0, 3),
                    table(1, 2, 3, 2),
                    cell(1, 2, u"в ячейке"_s),
                    picture(writeFile(dir, u"a.png"_s, PngBytes), 2, 2),
                    end(),
                    picture(writeFile(dir, u"graf.bmp"_s, BmpBytes), 15, 15),
                    end(),
                    text(u"\n\rВнимание!\r"_s)});
}

void TestWordDocument::testPackageConsistency()
{
    QTemporaryDir dir;
    const Package p = richDocument(dir);
    QCOMPARE(p.order.first(), u"[Content_Types].xml"_s);

    // Every part has a content type and is reached by a relationship, every XML part is well-formed.
    QCOMPARE(packageFaults(p), QStringList());
    QString mainType;
    const Node types = p.xml(u"[Content_Types].xml"_s);
    for (const Node* o : types.all(u"Override"_s)) {
        if (o->attr(u"PartName"_s) == u"/word/document.xml"_s)
            mainType = o->attr(u"ContentType"_s);
    }
    QCOMPARE(mainType, u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s);

    // Each picture has its part; each drawing an id of its own.
    const Node body = p.body();
    QSet<QString> embeds, drawingIds;
    for (const Node* blip : body.all(u"a:blip"_s, true))
        embeds << blip->attr(u"r:embed"_s);
    for (const Node* docPr : body.all(u"wp:docPr"_s, true))
        drawingIds << docPr->attr(u"id"_s);
    QCOMPARE(embeds.size(), 2);
    QCOMPARE(drawingIds.size(), 2);
    QCOMPARE(p.order.filter(u"word/media/"_s).size(), 2);
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
         {u"w:pStyle"_s, u"w:keepNext"_s, u"w:keepLines"_s, u"w:pBdr"_s, u"w:shd"_s, u"w:tabs"_s, u"w:spacing"_s,
          u"w:ind"_s, u"w:jc"_s, u"w:textDirection"_s, u"w:outlineLvl"_s, u"w:rPr"_s, u"w:sectPr"_s}},
        {u"w:rPr"_s,
         {u"w:rStyle"_s, u"w:rFonts"_s, u"w:b"_s, u"w:bCs"_s, u"w:i"_s, u"w:iCs"_s, u"w:caps"_s, u"w:strike"_s,
          u"w:color"_s, u"w:spacing"_s, u"w:kern"_s, u"w:sz"_s, u"w:szCs"_s, u"w:highlight"_s, u"w:u"_s, u"w:shd"_s,
          u"w:vertAlign"_s, u"w:lang"_s}},
        {u"w:tbl"_s, {u"w:tblPr"_s, u"w:tblGrid"_s, u"w:tr"_s}},
        {u"w:tblPr"_s,
         {u"w:tblStyle"_s, u"w:tblpPr"_s, u"w:bidiVisual"_s, u"w:tblW"_s, u"w:jc"_s, u"w:tblCellSpacing"_s,
          u"w:tblInd"_s, u"w:tblBorders"_s, u"w:shd"_s, u"w:tblLayout"_s, u"w:tblCellMar"_s, u"w:tblLook"_s}},
        {u"w:tblBorders"_s, {u"w:top"_s, u"w:left"_s, u"w:bottom"_s, u"w:right"_s, u"w:insideH"_s, u"w:insideV"_s}},
        {u"w:tr"_s, {u"w:tblPrEx"_s, u"w:trPr"_s, u"w:tc"_s}},
        {u"w:trPr"_s, {u"w:trHeight|w:tblHeader|w:cantSplit"_s}}, // a choice, any order
        {u"w:tc"_s, {u"w:tcPr"_s, u"w:p|w:tbl"_s}},
        {u"w:tcPr"_s,
         {u"w:cnfStyle"_s, u"w:tcW"_s, u"w:gridSpan"_s, u"w:vMerge"_s, u"w:tcBorders"_s, u"w:shd"_s, u"w:noWrap"_s,
          u"w:tcMar"_s, u"w:textDirection"_s, u"w:tcFitText"_s, u"w:vAlign"_s}},
        {u"wp:inline"_s,
         {u"wp:extent"_s, u"wp:effectExtent"_s, u"wp:docPr"_s, u"wp:cNvGraphicFramePr"_s, u"a:graphic"_s}},
        {u"pic:pic"_s, {u"pic:nvPicPr"_s, u"pic:blipFill"_s, u"pic:spPr"_s}},
    };
    int checked = 0;
    std::function<void(const Node&)> walk = [&](const Node& n) {
        if (order.contains(n.name)) {
            ++checked;
            qsizetype last = 0;
            for (const Node& c : n.children) {
                const QStringList& seq = order[n.name];
                qsizetype r = seq.size() - 1;
                while (r >= 0 && !seq[r].split(u'|').contains(c.name))
                    --r;
                QVERIFY2(r >= last, qPrintable(c.name + u" unknown or out of order in "_s + n.name));
                last = r;
            }
        }
        if (n.name == u"w:tc"_s || n.name == u"w:body"_s) { // cells and the body end with a paragraph
            QVERIFY(!n.children.empty());
            QCOMPARE(n.children.back().name == u"w:sectPr"_s ? n.children.end()[-2].name : n.children.back().name,
                     u"w:p"_s);
        }
        if (n.name == u"w:tbl"_s) { // every row has a cell for every column of the grid
            for (const Node* tr : n.all(u"w:tr"_s))
                QCOMPARE(tr->all(u"w:tc"_s).size(), n.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s).size());
        }
        for (const Node& c : n.children) {
            walk(c);
            if (QTest::currentTestFailed())
                return;
        }
    };
    QTemporaryDir dir;
    const Package p = richDocument(dir);
    walk(p.xml(u"word/document.xml"_s));
    walk(p.xml(u"word/styles.xml"_s)); // its paragraph, run and table properties
    QVERIFY(checked > 50);
}

void TestWordDocument::testDocumentFileName_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<TFormWord::Kind>("kind");
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("expected");

    using K = TFormWord::Kind;
    QTest::newRow("full") << u"Квартира"_s << K::FullReport << 1 << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("short") << u"Квартира"_s << K::ShortReport << 1
                           << u"Квартира краткий отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("questionnaire, copy 3")
        << u"Банк"_s << K::Questionnaire << 3 << u"Банк анкета 2024-03-05 14-07-09 (3).docx"_s;
    QTest::newRow("unsafe characters") << u"a/b:c*d?\"e<f>g|h\\i\tj"_s << K::Questionnaire << 1
                                       << u"a_b_c_d__e_f_g_h_i_j анкета 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("dots and blanks at the ends")
        << u" ..Машина. "_s << K::Questionnaire << 2 << u"Машина анкета 2024-03-05 14-07-09 (2).docx"_s;
    QTest::newRow("cut at a blank") << QString(97, u'Ж') + u"  ЖЖЖЖ"_s << K::ShortReport << 1
                                    << QString(97, u'Ж') + u" краткий отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("lone surrogates, not pairs") << u"a"_s + QChar(0xDC00) + u"😀"_s + QChar(0xD800) << K::FullReport << 1
                                                << u"a_😀_ полный отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("no name") << u" . "_s << K::FullReport << 1 << u"полный отчет 2024-03-05 14-07-09.docx"_s;
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
    // 420 bytes of name are cut to fit the 255 of a file name, never inside an emoji.
    const QString problem = QString(90, u'Ж') + u"😀"_s.repeated(60);
    const QString tail = u" краткий отчет 2024-03-05 14-07-09"_s;
    QString first;
    for (int copy : {1, 2, 9999}) {
        const QString name = TFormWord::documentFileName(problem, TFormWord::Kind::ShortReport, Stamp, copy);
        const QString cut = name.section(tail, 0, 0);
        QVERIFY(name.toUtf8().size() <= 255);
        QVERIFY(name.endsWith(tail + (copy > 1 ? u" ("_s + QString::number(copy) + u')' : QString()) + u".docx"_s));
        QVERIFY(problem.startsWith(cut) && !cut.back().isHighSurrogate());
        QCOMPARE(cut, first.isEmpty() ? (first = cut) : first); // every copy keeps the same part
        if (copy == 9999) // cut no shorter than needed: one more emoji (4 bytes) would not fit
            QVERIFY(name.toUtf8().size() > 255 - 4);
    }
    QTemporaryDir dir; // and the file system takes it
    TFormWord w({dir.path(), problem, TFormWord::Kind::ShortReport, {}, [] { return Stamp; }});
    w.NewDocument(true);
    QVERIFY(QFile::exists(w.Close()));
}

void TestWordDocument::testCloseSavesAndOpens_data()
{
    QTest::addColumn<TFormWord::Kind>("kind");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("fileName");

    using K = TFormWord::Kind;
    QTest::newRow("full report") << K::FullReport << true << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("short report") << K::ShortReport << true << u"Квартира краткий отчет 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("questionnaire") << K::Questionnaire << true << u"Квартира анкета 2024-03-05 14-07-09.docx"_s;
    QTest::newRow("not visible: saved, not opened")
        << K::FullReport << false << u"Квартира полный отчет 2024-03-05 14-07-09.docx"_s;
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
    auto opener = [&opened](const QString& path) {
        opened << path;
        return false;
    };
    TFormWord w({dat, u"Квартира"_s, kind, opener, [] { return Stamp; }});
    w.NewDocument(visible);
    w.SetFont(QString(), 12, 0, 0, 0);
    w.WriteText(u"Анкета для принятия управленческого решения.\n\r"_s);
    const QString path = w.Close();

    QCOMPARE(path, dat + u"/Отчеты/"_s + fileName);
    QCOMPARE(opened, visible ? QStringList{path} : QStringList{});
    QCOMPARE(bodyOutline(unzipFile(path)), (QStringList{u"Анкета для принятия управленческого решения."_s, {}, {}}));
    QCOMPARE(QDir(dat + u"/Отчеты"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{fileName}); // no temporary file left
    // The document is finished; the next one needs a new start.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, w.WriteText(u"ещё"_s));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, w.Close());
}

void TestWordDocument::testCloseNeverOverwrites()
{
    QTemporaryDir dir;
    QStringList opened, texts;
    for (const QString& text : {u"первый"_s, u"второй"_s, u"третий"_s}) {
        auto opener = [&opened](const QString& path) {
            opened << path;
            return true;
        };
        TFormWord w({dir.path(), u"Квартира"_s, TFormWord::Kind::ShortReport, opener, [] { return Stamp; }});
        w.NewDocument(true);
        w.WriteText(text);
        w.Close();
    }
    const QString name = dir.path() + u"/Отчеты/Квартира краткий отчет 2024-03-05 14-07-09"_s;
    QCOMPARE(opened, (QStringList{name + u".docx"_s, name + u" (2).docx"_s, name + u" (3).docx"_s}));
    for (const QString& path : opened)
        texts << bodyOutline(unzipFile(path));
    QCOMPARE(texts, (QStringList{u"первый"_s, u"второй"_s, u"третий"_s}));
}

void TestWordDocument::testCloseFailureLeavesNothing()
{
    QTemporaryDir dir;
    QStringList opened;
    auto opener = [&opened](const QString& path) {
        opened << path;
        return true;
    };

    // "Отчеты" cannot be made: a file has the name.
    const QString blocked = dir.filePath(u"blocked"_s);
    QVERIFY(QDir().mkpath(blocked));
    writeFile(dir, u"blocked/Отчеты"_s, "x");
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
    QTest::addColumn<QList<Step>>("script");

    QTest::newRow("text before NewDocument") << false << QList<Step>{text(u"а"_s)};
    QTest::newRow("font before NewDocument") << false << QList<Step>{font(12)};
    QTest::newRow("table before NewDocument") << false << QList<Step>{table(2, 2)};
    QTest::newRow("GoToEnd before NewDocument") << false << QList<Step>{end()};
    QTest::newRow("cell before AddTable") << true << QList<Step>{cell(1, 1, u"а"_s)};
    QTest::newRow("width before AddTable") << true << QList<Step>{width(1, 4.0)};
    QTest::newRow("stretch before AddTable") << true << QList<Step>{stretch()};
    QTest::newRow("row 0") << true << QList<Step>{table(2, 3), cell(0, 1, u"а"_s)};
    QTest::newRow("row past the table") << true << QList<Step>{table(2, 3), upward(3, 1, u"а"_s)};
    QTest::newRow("column past the table") << true << QList<Step>{table(2, 3), cell(2, 4, u"а"_s)};
    QTest::newRow("width of column 4 of 3") << true << QList<Step>{table(2, 3), width(4, 1.7)};
    QTest::newRow("width 0") << true << QList<Step>{table(2, 3), width(1, 0.0)};
    QTest::newRow("width not a number") << true << QList<Step>{table(2, 3), width(1, std::nan(""))};
    QTest::newRow("width over 22 inches") << true << QList<Step>{table(2, 3), width(1, 56.0)};
    QTest::newRow("no rows") << true << QList<Step>{table(0, 2)};
    QTest::newRow("64 columns") << true << QList<Step>{table(1, 64)};
    QTest::newRow("font of 1639 points") << true << QList<Step>{font(1639)};
    QTest::newRow("picture of width 0") << true << QList<Step>{picture(u"graf.bmp"_s, 0, 15)};
}

void TestWordDocument::testMisuse()
{
    QFETCH(bool, newDocument);
    QFETCH(QList<Step>, script);

    TFormWord w(nowhere());
    if (newDocument)
        w.NewDocument(true);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, run(w, script));
}

QTEST_GUILESS_MAIN(TestWordDocument)
#include "test_word_document.moc"
