// The document writer the reports use in place of Word: what its operations put into the .docx, read back,
// and how the document reaches the disk.
#include "report/TFormWord.h"

#include "storage/OptivarError.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 7, 9));
const QByteArray BmpBytes = QByteArray("BM") + QByteArray(60, '\x20'); // only the first bytes tell the kind
const QByteArray PngBytes = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, '\x01');

// Runs a script of operations separated by ";", the arguments after ":" separated by "," (the text of t, c and
// u may hold anything else): "t:text" WriteText, "f:size,bold,italic,underline,name" SetFont, "T:rows,columns,border,
// alignment,heading" AddTable, "c:row,column,text" WriteCell, "u:row,column,text" WriteCellUpward,
// "w:column,cm" SetColumnWidth, "s" StretchTable, "e" GoToEnd, "p:width,height,path" InsertPicture,
// "k:next,together" setParagraphFormat.
void run(TFormWord& w, const QString& script)
{
    for (const QString& step : script.split(u';', Qt::SkipEmptyParts)) {
        const QString args = step.mid(2);
        const auto n = [&](int i) { return args.section(u',', i, i).toInt(); };
        const QString rest = args.section(u',', 2);
        const char op = step.at(0).toLatin1();
        if (op == 't')
            w.WriteText(args);
        else if (op == 'f')
            w.SetFont(args.section(u',', 4), n(0), n(1), n(2), n(3));
        else if (op == 'T')
            w.AddTable(n(0), n(1), n(2), n(3), n(4));
        else if (op == 'c' || op == 'u')
            op == 'c' ? w.WriteCell(n(0), n(1), rest) : w.WriteCellUpward(n(0), n(1), rest);
        else if (op == 'w')
            w.SetColumnWidth(n(0), args.section(u',', 1).toDouble());
        else if (op == 's' || op == 'e')
            op == 's' ? w.StretchTable() : w.GoToEnd();
        else if (op == 'p')
            w.InsertPicture(rest, n(0), n(1));
        else
            w.setParagraphFormat(n(0) != 0, n(1) != 0);
    }
}

TFormWord::Destination nowhere()
{
    return {QString(), u"Задача"_s, TFormWord::Kind::FullReport, {}, {}};
}

// A document written by script, its font set as the reports set it.
Package written(const QString& script, bool setFont = true)
{
    TFormWord w(nowhere());
    w.NewDocument(true);
    if (setFont)
        w.SetFont(QString(), 12, 0, 0, 0);
    run(w, script);
    return unzip(w.documentBytes(Stamp));
}

Node firstTable(const QString& script)
{
    const Node body = written(script).body();
    return *body.child(u"w:tbl"_s);
}

QStringList attrs(const std::vector<const Node*>& nodes, const QString& name)
{
    QStringList out;
    for (const Node* node : nodes)
        out << node->attr(name);
    return out;
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

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    TestSupport::writeBytes(dir.filePath(name), bytes);
    return dir.filePath(name);
}

} // namespace

class TestWordDocument final : public QObject
{
    Q_OBJECT

    QStringList m_opened; // the documents Close handed over to be opened
    std::function<bool(const QString&)> opener()
    {
        return [this](const QString& path) {
            m_opened << path;
            return true;
        };
    }

private Q_SLOTS:
    void init() { m_opened.clear(); }

    // Where typed text goes and how it is cut into paragraphs: a table as "[" rows ";" cells "|" "]", the
    // paragraphs of a cell joined by "¶"; with flags (after "|"): N kept with the next, L lines kept together.
    void testTyping_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outline"); // the blocks of the body, one a line
        const QString cut(255, u'я');
        const auto row = [](const char* name, const QString& script, const QString& outline) {
            QTest::newRow(name) << script << outline;
        };
        row("pieces join", u"t:Лучший выбор - ;t:Квартира"_s, u"Лучший выбор - Квартира"_s);
        row("carriage return and line feed", u"t:а\rб\nв"_s, u"а\nб\nв"_s);
        row("line feed and return leave an empty line", u"t:Заголовок\n\r;t:Список"_s, u"Заголовок\n\nСписок"_s);
        row("return at the end", u"t:1. Цена\r"_s, u"1. Цена\n"_s);
        row("blanks kept", u"t:  45,67%  "_s, u"  45,67%  "_s);
        row("300 characters cut to 255", u"t:"_s + QString(300, u'я'), cut);
        row("a return past 255 is cut away", u"t:"_s + cut + u"\rб"_s, cut);
        row("tab, line and page break", u"t:а\tб\vв\fг"_s, u"а\tб\vв\fг"_s);
        row("controls, noncharacters, lone surrogates dropped",
            u"t:а\x01б\x1f\uFFFEв\uFFFF"_s + QChar(0xD800) + u"г😀"_s, u"абвг😀"_s);
        row("markup characters", u"t:<a & \"b\">"_s, u"<a & \"b\">"_s);
        row("nothing typed", QString(), QString());
        row("a new table's first cell takes the typing", u"T:2,2;t:х"_s, u"[х|;|]\n"_s);
        row("text without GoToEnd stays in the cell", u"T:1,2;c:1,2,а;t:б"_s, u"[|аб]\n"_s);
        row("GoToEnd puts text after the table", u"t:М\n\r;T:2,2;c:1,2,а;e;t:после"_s, u"М\n\n[|а;|]\nпосле"_s);
        row("a table after text keeps the text", u"t:абв;T:1,1"_s, u"абв\n[]\n"_s);
        row("writing a cell again replaces it", u"T:1,1;c:1,1,а;c:1,1,б"_s, u"[б]\n"_s);
        row("paragraphs in a cell", u"T:1,1;c:1,1,а\rб"_s, u"[а¶б]\n"_s);
        row("cells in any order", u"T:2,3;c:2,3,6;c:1,1,1;c:2,1,4"_s, u"[1||;4||6]\n"_s);
        row("a table in a cell", u"T:1,1;T:1,1;t:х;e;t:у"_s, u"[[х]¶]\nу"_s);
        row("two tables", u"t:А\n\r;T:1,1;c:1,1,а;e;t:Б\n\r;T:1,1;e"_s, u"А\n\n[а]\nБ\n\n[]\n"_s);
        row("keeping set where typing goes, taken over at a line end", u"k:1,0;t:а\rб\r;k:0,1;t:в"_s,
            u"а|N\nб|N\nв|L"_s);
        row("keeping cleared before a table holds for neither it nor what follows",
            u"k:1,1;t:А\n\r;k:0,0;T:1,1;e;t:Б"_s, u"А|NL\n|NL\n[table]\nБ|"_s);
    }
    void testTyping()
    {
        QFETCH(QString, script);
        QFETCH(QString, outline);
        const Package p = written(script);
        const bool flags = script.startsWith(u"k:"_s);
        QCOMPARE((flags ? flaggedOutline(p) : bodyOutline(p)).join(u'\n'), outline);
        const Node body = p.body();
        QCOMPARE(int(body.all(u"w:keepNext"_s, true).size()), flags ? int(outline.count(u"|N"_s)) : 0);
    }

    void testRunFont()
    {
        const std::tuple<QString, QString> rows[] = {
            {u"f:12"_s, u"|24|||"_s},                             // size only
            {u"f:14,1,1,1,Arial"_s, u"Arial|28|b|i|single"_s},    // name and all flags
            {u"f:11,-1,-1,3"_s, u"|22|b|i|double"_s},             // Word's true, double underline
            {u"f:11,0,0,5"_s, u"|22|||single"_s},                 // unknown underline kind
            {u"f:14,1,0,1,Arial;f:0,0,1,0"_s, u"Arial|28||i|"_s}, // empty name and size 0 keep them, flags replaced
            {u"f:12;f:-5,1"_s, u"|24|b||"_s},                     // negative size keeps the size
            {u"f:12,0,0,0,Arial;f:0,0,0,0,Tahoma"_s, u"Tahoma|24|||"_s},                 // a new name replaces
            {(u"f:12,0,0,0,"_s + QString(300, u'Ш')), QString(255, u'Ш') + u"|24|||"_s}, // name cut to 255
            {u"f:1638"_s, u"|3276|||"_s},                                                // largest size
        };
        for (const auto& [calls, key] : rows) {
            TFormWord w(nowhere());
            w.NewDocument(true);
            run(w, calls + u";t:Цена\r"_s);
            QCOMPARE(w.FontName() + u'|' + QString::number(w.FontSize() * 2), key.section(u'|', 0, 1));
            const Node body = unzip(w.documentBytes(Stamp)).body();
            QStringList keys; // the first paragraph's mark, its one run, the second (empty) paragraph's mark
            for (const Node* p : body.all(u"w:p"_s)) {
                keys << fontKey(p->child(u"w:pPr"_s)->child(u"w:rPr"_s));
                for (const Node* r : p->all(u"w:r"_s))
                    keys << fontKey(r->child(u"w:rPr"_s));
            }
            QCOMPARE(keys, QStringList(3, key));
        }

        // A run ends where the font changes.
        const Node changes = written(u"t:1. ;t:Цена;f:0,1;t: важнее;f:0;t:."_s).body();
        QStringList runs;
        for (const Node* r : changes.child(u"w:p"_s)->all(u"w:r"_s))
            runs << r->child(u"w:t"_s)->text + u'/' + fontKey(r->child(u"w:rPr"_s));
        QCOMPARE(runs, (QStringList{u"1. Цена/|24|||"_s, u" важнее/|24|b||"_s, u"./|24|||"_s}));
        QCOMPARE(changes.child(u"w:p"_s)->child(u"w:r"_s)->child(u"w:t"_s)->attr(u"xml:space"_s), u"preserve"_s);
    }

    // Borders (the inside lines stay single), row alignment and heading row of a table of 3 rows: all defaults;
    // single, centred (as the reports); double, left, heading; triple, right; border 4 and alignment -1 ignored.
    void testTableProperties()
    {
        const std::tuple<QString, QString, QString, bool> rows[] = {{u"0,3,0"_s, u"single"_s, QString(), false},
                                                                    {u"1,1,0"_s, u"single"_s, u"center"_s, false},
                                                                    {u"2,0,1"_s, u"double"_s, u"left"_s, true},
                                                                    {u"3,2,2"_s, u"triple"_s, u"right"_s, false},
                                                                    {u"4,-1,-1"_s, u"single"_s, QString(), false}};
        for (const auto& [args, outside, jc, heading] : rows) {
            const Node tbl = firstTable(u"T:3,2,"_s + args);
            const Node* tblPr = tbl.child(u"w:tblPr"_s);
            QStringList got{tblPr->child(u"w:jc"_s) ? tblPr->child(u"w:jc"_s)->attr(u"w:val"_s) : QString()};
            for (const Node& side : tblPr->child(u"w:tblBorders"_s)->children)
                got << side.name + u'=' + side.attr(u"w:val"_s);
            for (const Node* tr : tbl.all(u"w:tr"_s))
                got << (tr->all(u"w:tblHeader"_s, true).empty() ? u"-"_s : u"heading"_s);
            const QString o = u'=' + outside;
            QCOMPARE(got, (QStringList{jc, u"w:top"_s + o, u"w:left"_s + o, u"w:bottom"_s + o, u"w:right"_s + o,
                                       u"w:insideH=single"_s, u"w:insideV=single"_s, heading ? u"heading"_s : u"-"_s,
                                       u"-"_s, u"-"_s}));
        }
    }

    // One inch is 2.54 cm and 1440 twips; the other columns keep their equal share of the 16.5 cm between the
    // margins; a stretched table fills the text width in proportion.
    void testColumnWidths()
    {
        const std::pair<double, int> rows[] = {{4.0, 2268}, {1.7, 964}, {0.001, 1}, {55.88, 31680}};
        for (const auto& [cm, twips] : rows) {
            const Node tbl = firstTable(u"T:2,3;w:2,"_s + QString::number(cm));
            const QStringList grid = attrs(tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s), u"w:w"_s);
            QCOMPARE(grid, (QStringList{u"3118"_s, QString::number(twips), u"3118"_s}));
            QCOMPARE(tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s)->attr(u"w:type"_s), u"auto"_s);
            for (const Node* tr : tbl.all(u"w:tr"_s))
                QCOMPARE(attrs(tr->all(u"w:tcW"_s, true), u"w:w"_s), grid);
        }
        const Node tbl = firstTable(u"T:2,4;w:1,4;w:2,1.7;w:3,1.7;w:4,1.7;s"_s);
        const Node* tblW = tbl.child(u"w:tblPr"_s)->child(u"w:tblW"_s);
        QCOMPARE(tblW->attr(u"w:w"_s) + tblW->attr(u"w:type"_s), u"5000pct"_s);
        QList<int> w;
        for (const QString& g : attrs(tbl.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s), u"w:w"_s))
            w << g.toInt();
        QCOMPARE(w.size(), 4);
        QCOMPARE(w[0] + w[1] + w[2] + w[3], 9355); // the width between the margins
        QVERIFY(qAbs(w[0] * 1.7 / 4.0 - w[1]) <= 1.0 && qAbs(w[1] - w[3]) <= 1);
    }

    // Upward text runs bottom to top in its cell; its row gets a least height that grows with the longest line
    // (LibreOffice would keep it one line high), never more than a page.
    void testUpwardCells()
    {
        const auto heightFor = [](const QString& s, int size) {
            const Node tbl = firstTable(u"f:%1;T:2,2;u:1,2,"_s.arg(size) + s);
            const std::vector<const Node*> h = tbl.child(u"w:tr"_s)->all(u"w:trHeight"_s, true);
            return h.empty() ? 0 : (h[0]->attr(u"w:hRule"_s) == u"atLeast"_s ? h[0]->attr(u"w:val"_s).toInt() : -1);
        };
        const Node tbl = firstTable(u"T:2,3;u:1,2,Цена;c:1,3,Район;c:1,2,Цена жилья"_s);
        QCOMPARE(attrs(tbl.all(u"w:textDirection"_s, true), u"w:val"_s), QStringList{u"btLr"_s}); // in cell 1,2 only
        QCOMPARE(tbl.all(u"w:tc"_s, true)[1]->all(u"w:textDirection"_s, true).size(), size_t(1));
        QCOMPARE(outline(tbl), u"[|Цена жилья|Район;||]"_s); // rewriting kept the direction
        QVERIFY(tbl.all(u"w:tr"_s)[1]->all(u"w:trHeight"_s, true).empty());
        const int four = heightFor(u"Цена"_s, 12);
        QVERIFY(four > 20 * 20 && four < 3 * 567); // four letters: more than 20 points, less than 3 cm
        QVERIFY(heightFor(u"Стоимость квартиры"_s, 12) > four);
        QCOMPARE(heightFor(QString(255, u'Ж'), 72), 16838 - 2 * 1134);
        QCOMPARE(heightFor(QString(), 12), 0);
    }

    // A picture is embedded at the size asked, whatever the image's own; the bytes, not the name, tell its kind.
    // A missing file, or one that is no picture, is refused by name, and the document stays as it was.
    void testPicture()
    {
        const std::tuple<QByteArray, int, int, QString> rows[] = {
            {BmpBytes, 15, 15, u"bmp"_s},
            {PngBytes, 3, 2, u"png"_s},
            {QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10), 1, 20, u"jpeg"_s},
            {QByteArray("GIF89a\x01\x00\x01\x00", 10), 4, 4, u"gif"_s}};
        for (const auto& [image, width, height, kind] : rows) {
            QTemporaryDir dir;
            const QString file = writeFile(dir, u"graf.bmp"_s, image);
            TFormWord w(nowhere());
            w.NewDocument(true);
            run(w, u"t:До\r;p:%1,%2,%3"_s.arg(width).arg(height).arg(file));
            QVERIFY(QFile::remove(file)); // embedded, so the file is no longer needed
            const QList<QByteArray> refusals{QByteArray(), QByteArray("[Alt]\r\nCount=2\r\n"), QByteArray("", 0)};
            for (const QByteArray& bad : kind == u"bmp"_s ? refusals : QList<QByteArray>()) {
                const QString path = bad.isNull() ? file : writeFile(dir, u"bad.bmp"_s, bad);
                try {
                    w.InsertPicture(path, 15, 15);
                    QFAIL("InsertPicture took a file that is no picture");
                } catch (const OptivarError& e) {
                    QCOMPARE(e.code(), bad.isNull() ? OptivarError::Code::NotFound : OptivarError::Code::IoError);
                    QVERIFY(e.message().contains(path));
                }
            }
            w.WriteText(u"после"_s);
            const Package p = unzip(w.documentBytes(Stamp));
            QCOMPARE(bodyOutline(p), (QStringList{u"До"_s, u"после"_s}));
            QCOMPARE(packageFaults(p), QStringList()); // each picture reached by its relationship, with its type
            const QStringList media = p.order.filter(u"word/media/"_s);
            QVERIFY(media.size() == 1 && media[0].endsWith(u'.' + kind));
            QCOMPARE(p.parts.value(media[0]), image);
            const Node types = p.xml(u"[Content_Types].xml"_s);
            QVERIFY(attrs(types.all(u"Default"_s), u"ContentType"_s).contains(u"image/"_s + kind));
            const Node body = p.body();
            for (const Node* e : {body.all(u"wp:extent"_s, true).at(0), body.all(u"a:ext"_s, true).at(0)})
                QCOMPARE(e->attr(u"cx"_s) + u',' + e->attr(u"cy"_s),
                         u"%1,%2"_s.arg(width * 360000).arg(height * 360000));
            QVERIFY(!body.all(u"a:blip"_s, true).at(0)->attrs.contains(u"r:link"_s));
        }
    }

    // Everything the writer makes (fonts, paragraphs, tables of each kind, a table in a cell, pictures) opens
    // cleanly: every part has a content type and is reached, each picture has its part and each drawing an id of
    // its own, and the elements follow the sequences of the WordprocessingML and DrawingML schemas (ECMA-376),
    // cut to the elements around the ones written; names joined by "|" share a place.
    void testPackageOpensCleanly()
    {
        QTemporaryDir dir;
        const QString png = writeFile(dir, u"a.png"_s, PngBytes), bmp = writeFile(dir, u"graf.bmp"_s, BmpBytes);
        const Package p = written(u"k:1,1;t:Протокол.\n\r;f:14,1,1,1,Arial;t:Матрица\n\r;T:3,3,2,1,1;w:1,4;u:1,2,Цена;"
                                  "c:2,1,Цена;c:2,2,-;s;e;f:12;t:\n\r;T:1,1,0,3;T:1,2,3,2;c:1,2,в ячейке;p:2,2,%1;e;"
                                  "p:15,15,%2;e;t:\n\rВнимание!\r"_s.arg(png, bmp));
        QCOMPARE(p.order.first(), u"[Content_Types].xml"_s);
        QCOMPARE(packageFaults(p), QStringList());
        const Node types = p.xml(u"[Content_Types].xml"_s);
        QVERIFY(attrs(types.all(u"Override"_s), u"ContentType"_s)
                    .contains(u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s));
        const Node body = p.body();
        for (const auto& [element, id] : {std::pair{u"a:blip"_s, u"r:embed"_s}, std::pair{u"wp:docPr"_s, u"id"_s}}) {
            QStringList ids = attrs(body.all(element, true), id);
            QCOMPARE(ids.size() - ids.removeDuplicates(), 2);
        }
        QCOMPARE(p.order.filter(u"word/media/"_s).size(), 2);

        static const QHash<QString, QString> order = {
            {u"w:body"_s, u"w:p|w:tbl w:sectPr"_s},
            {u"w:p"_s, u"w:pPr w:r"_s},
            {u"w:r"_s, u"w:rPr w:t|w:tab|w:br|w:drawing"_s},
            {u"w:pPr"_s, u"w:pStyle w:keepNext w:keepLines w:pBdr w:shd w:tabs w:spacing w:ind w:jc "
                         "w:textDirection w:outlineLvl w:rPr w:sectPr"_s},
            {u"w:rPr"_s, u"w:rStyle w:rFonts w:b w:bCs w:i w:iCs w:caps w:strike w:color w:spacing w:kern w:sz "
                         "w:szCs w:highlight w:u w:shd w:vertAlign w:lang"_s},
            {u"w:tbl"_s, u"w:tblPr w:tblGrid w:tr"_s},
            {u"w:tblPr"_s, u"w:tblStyle w:tblpPr w:bidiVisual w:tblW w:jc w:tblCellSpacing w:tblInd w:tblBorders "
                           "w:shd w:tblLayout w:tblCellMar w:tblLook"_s},
            {u"w:tblBorders"_s, u"w:top w:left w:bottom w:right w:insideH w:insideV"_s},
            {u"w:tr"_s, u"w:tblPrEx w:trPr w:tc"_s},
            {u"w:trPr"_s, u"w:trHeight|w:tblHeader|w:cantSplit"_s}, // a choice, any order
            {u"w:tc"_s, u"w:tcPr w:p|w:tbl"_s},
            {u"w:tcPr"_s, u"w:cnfStyle w:tcW w:gridSpan w:vMerge w:tcBorders w:shd w:noWrap w:tcMar "
                          "w:textDirection w:tcFitText w:vAlign"_s},
            {u"wp:inline"_s, u"wp:extent wp:effectExtent wp:docPr wp:cNvGraphicFramePr a:graphic"_s},
            {u"pic:pic"_s, u"pic:nvPicPr pic:blipFill pic:spPr"_s},
        };
        int checked = 0;
        std::function<void(const Node&)> walk = [&](const Node& n) {
            if (order.contains(n.name)) {
                ++checked;
                const QStringList seq = order[n.name].split(u' ');
                qsizetype last = 0;
                for (const Node& c : n.children) {
                    qsizetype r = seq.size() - 1;
                    while (r >= 0 && !seq[r].split(u'|').contains(c.name))
                        --r;
                    QVERIFY2(r >= last, qPrintable(c.name + u" unknown or out of order in "_s + n.name));
                    last = r;
                }
            }
            if (n.name == u"w:tc"_s || n.name == u"w:body"_s) // cells and the body end with a paragraph
                QCOMPARE((n.children.back().name == u"w:sectPr"_s ? n.children.end()[-2] : n.children.back()).name,
                         u"w:p"_s);
            if (n.name == u"w:tbl"_s) { // every row has a cell for every column of the grid
                for (const Node* tr : n.all(u"w:tr"_s))
                    QCOMPARE(tr->all(u"w:tc"_s).size(), n.child(u"w:tblGrid"_s)->all(u"w:gridCol"_s).size());
            }
            for (const Node& c : n.children) {
                if (!QTest::currentTestFailed())
                    walk(c);
            }
        };
        walk(p.xml(u"word/document.xml"_s));
        walk(p.xml(u"word/styles.xml"_s)); // its paragraph, run and table properties
        QVERIFY(checked > 50);
    }

    void testDocumentFileName()
    {
        using K = TFormWord::Kind;
        const QString stamp = u" 2024-03-05 14-07-09"_s;
        const std::tuple<QString, K, int, QString> rows[] = {
            {u"Квартира"_s, K::FullReport, 1, u"Квартира полный отчет"_s + stamp},
            {u"Квартира"_s, K::ShortReport, 1, u"Квартира краткий отчет"_s + stamp},
            {u"Банк"_s, K::Questionnaire, 3, u"Банк анкета"_s + stamp + u" (3)"_s},
            {u"a/b:c*d?\"e<f>g|h\\i\tj"_s, K::Questionnaire, 1, u"a_b_c_d__e_f_g_h_i_j анкета"_s + stamp},
            {u" ..Машина. "_s, K::Questionnaire, 2, u"Машина анкета"_s + stamp + u" (2)"_s},
            {QString(97, u'Ж') + u"  ЖЖЖЖ"_s, K::ShortReport, 1, QString(97, u'Ж') + u" краткий отчет"_s + stamp},
            {u"a"_s + QChar(0xDC00) + u"😀"_s + QChar(0xD800), K::FullReport, 1, u"a_😀_ полный отчет"_s + stamp},
            {u" . "_s, K::FullReport, 1, u"полный отчет"_s + stamp}};
        for (const auto& [problem, kind, copy, expected] : rows)
            QCOMPARE(TFormWord::documentFileName(problem, kind, Stamp, copy), expected + u".docx"_s);
    }

    // 420 bytes of name are cut to fit the 255 of a file name, never inside an emoji, and the same for every copy.
    void testLongProblemNameFits()
    {
        const QString problem = QString(90, u'Ж') + u"😀"_s.repeated(60);
        const QString tail = u" краткий отчет 2024-03-05 14-07-09"_s;
        QStringList cuts;
        for (int copy : {1, 2, 9999}) {
            const QString name = TFormWord::documentFileName(problem, TFormWord::Kind::ShortReport, Stamp, copy);
            cuts << name.section(tail, 0, 0);
            // cut no shorter than needed: for the longest copy one more emoji (4 bytes) would not fit
            QVERIFY(name.toUtf8().size() <= 255 && (copy < 9999 || name.toUtf8().size() > 255 - 4));
            QVERIFY(name.endsWith(tail + (copy > 1 ? u" ("_s + QString::number(copy) + u')' : QString()) + u".docx"_s));
        }
        QVERIFY(problem.startsWith(cuts[0]) && !cuts[0].back().isHighSurrogate());
        QCOMPARE(cuts, QStringList(3, cuts[0]));
        QTemporaryDir dir; // and the file system takes it
        TFormWord w({dir.path(), problem, TFormWord::Kind::ShortReport, {}, [] { return Stamp; }});
        w.NewDocument(true);
        QVERIFY(QFile::exists(w.Close()));
    }

    // Close saves into "Отчеты" beside the problems, never over an earlier document, opens the document when it
    // was made visible, and finishes it.
    void testClose()
    {
        QTemporaryDir dir;
        const QString name = dir.path() + u"/Отчеты/Квартира краткий отчет 2024-03-05 14-07-09"_s;
        for (const QString& text : {u"первый"_s, u"второй"_s, u"третий"_s, u"невидимый"_s}) {
            TFormWord w({dir.path(), u"Квартира"_s, TFormWord::Kind::ShortReport, opener(), [] { return Stamp; }});
            w.NewDocument(text != u"невидимый"_s);
            w.WriteText(text);
            const QString path = w.Close();
            QCOMPARE(bodyOutline(unzipFile(path)), QStringList{text});
            QVERIFY_THROWS_EXCEPTION(std::logic_error, w.WriteText(u"ещё"_s));
            QVERIFY_THROWS_EXCEPTION(std::logic_error, w.Close());
        }
        QCOMPARE(m_opened, (QStringList{name + u".docx"_s, name + u" (2).docx"_s, name + u" (3).docx"_s}));
        QCOMPARE(
            QDir(dir.path() + u"/Отчеты"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
            4); // no temporary file left
    }

    void testCloseFailureLeavesNothing()
    {
        QTemporaryDir dir;
        // "Отчеты" cannot be made: a file has the name.
        const QString blocked = dir.filePath(u"blocked"_s);
        QVERIFY(QDir().mkpath(blocked));
        writeFile(dir, u"blocked/Отчеты"_s, "x");
        TFormWord w({blocked, u"Квартира"_s, TFormWord::Kind::FullReport, opener(), {}});
        w.NewDocument(true);
        w.WriteText(u"Список альтернатив:"_s);
        QVERIFY_THROWS_EXCEPTION(OptivarError, w.Close());
        QCOMPARE(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"Отчеты"_s});

        // A disk that takes no more than 512 bytes of a file (a limit that holds for root too).
        const QString full = dir.filePath(u"full"_s);
        TFormWord r({full, u"Квартира"_s, TFormWord::Kind::FullReport, opener(), [] { return Stamp; }});
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
        QVERIFY(m_opened.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWordDocument)
#include "test_word_document.moc"
