// The data folder as the problem screen sees it: listing, name checks, creating, renaming and erasing that never
// replace another file, and making and using templates.
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"
#include "storage/ProblemTemplates.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using ProblemDirectory::Kind;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

// What a call returns, as "=" and its text, or how it fails: the name of the error's code, a blank and its message.
template <typename F> QString outcome(F&& f)
{
    try {
        return u'=' + f();
    } catch (const OptivarError& e) {
        static const char* const codes[] = {"WriteFailed", "CopyFailed", "NotFound",
                                            "IoError",     "BadName",    "NameExists"};
        return QLatin1String(codes[int(e.code())]) + u' ' + e.message();
    }
}

const QString BadChars = u"BadName Имя не может содержать символы \\ / : * ? \" < > |."_s;

} // namespace

class TestProblemDirectory final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_dat;

    QString problem(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Kind::Problems); }
    QString templ(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Kind::Templates); }

    // The entries of the folder as "name=content", a folder as "name/".
    QStringList entries() const
    {
        QStringList out;
        for (const QFileInfo& e :
             QDir(m_dat).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
            out << e.fileName() + (e.isDir() ? u"/"_s : u'=' + QString::fromUtf8(readBytes(e.filePath())));
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_dat = m_tmp->path() + u"/DAT"_s;
        QVERIFY(QDir().mkpath(m_dat));
    }

    void testNameProblem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        const QString chars = BadChars.mid(8);
        const QString empty = u"Имя не может быть пустым."_s;
        const QString dots = u"Имя не может состоять из одних точек."_s;
        const QString controls = u"Имя не может содержать управляющие символы."_s;
        const QString end = u"Имя не может оканчиваться пробелом или точкой."_s;
        const QString tooLong = u"Имя слишком длинное для имени файла."_s;
        const std::pair<QString, QString> rows[] = {
            {u"Дом"_s, {}},
            {u"Дом у реки. Вариант 2"_s, {}},
            {QString(), empty},
            {u"   "_s, empty},
            {u"."_s, dots},
            {u".."_s, dots},
            {u"../x"_s, chars},
            {u"a\tb"_s, controls},
            {u"a\x7f"
             u"b"_s,
             controls},
            {u"Дом."_s, end},
            {u"Дом\u00a0"_s, end},
            // The file system counts bytes: a Cyrillic letter takes two, ".qzr" four.
            {QString(251, u'x'), {}},
            {QString(252, u'x'), tooLong},
            {QString(125, u'ж'), {}},
            {QString(126, u'ж'), tooLong}};
        for (const auto& [name, reason] : rows)
            QTest::newRow(qPrintable(u"%1 (%2)"_s.arg(name.left(12)).arg(name.size()))) << name << reason;
        for (const QChar c : u"/\\:*?\"<>|"_s)
            QTest::newRow(qPrintable(u"char "_s + c)) << u"a"_s + c + u"b"_s << chars;
    }
    void testNameProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QCOMPARE(ProblemDirectory::nameProblem(name, Kind::Problems), reason);
        const auto check = [&] {
            ProblemDirectory::checkName(name, Kind::Problems);
            return QString();
        };
        QCOMPARE(outcome(check), reason.isEmpty() ? u"="_s : u"BadName "_s + reason);
    }

    void testTrimmedName()
    {
        QCOMPARE(ProblemDirectory::trimmedName(u"Дом"_s), u"Дом"_s);
        QCOMPARE(ProblemDirectory::trimmedName(u" \t\x01Дом у реки \r\n"_s), u"Дом у реки"_s);
        QCOMPARE(ProblemDirectory::trimmedName(u"\u00a0Дом"_s), u"\u00a0Дом"_s); // a no-break space stays
        QCOMPARE(ProblemDirectory::trimmedName(QString(300, u'я')), QString(255, u'я'));
        QCOMPARE(ProblemDirectory::trimmedName(u"  "_s + QString(255, u'я') + u"z"_s), QString(255, u'я'));
    }

    // Exact endings only, in the order of the collation, not of the codes; the folder is made when missing.
    void testListing()
    {
        for (const QString& file : {u"cherry.qzr"_s, u"Banana.qzr"_s, u"apple.qzr"_s, u"Поездка.qzr.qzr"_s,
                                    u"Дом.QZR"_s, u"Шаблон Дом.qzp"_s, u"qzr"_s, u"notes.qzr.bak"_s})
            writeBytes(m_dat + u'/' + file, QByteArray());
        QVERIFY(QDir(m_dat).mkdir(u"folder.qzr"_s));
        QStringList problems = ProblemDirectory::names(m_dat, Kind::Problems);
        QCOMPARE(problems.size(), 4);
        QVERIFY(problems.removeAll(u"Поездка.qzr"_s) == 1);
        QCOMPARE(problems, (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
        QCOMPARE(ProblemDirectory::names(m_dat, Kind::Templates), QStringList{u"Шаблон Дом"_s});

        QVERIFY(QDir(m_dat).removeRecursively());
        QVERIFY(ProblemDirectory::names(m_dat, Kind::Templates).isEmpty());
        QVERIFY(QFileInfo(m_dat).isDir());
        QVERIFY(QDir(m_dat).removeRecursively());
        writeBytes(m_dat, "not a folder");
        QVERIFY(outcome([&] {
                    return ProblemDirectory::names(m_dat, Kind::Problems).join(u' ');
                }).startsWith(u"IoError"_s));
    }

    // Creating, renaming and erasing as the problem screen does, each refused whole when it would replace another
    // file or meets a bad name: the folder before (a name ending in "/" is a folder), the call, how it ends and
    // the folder after.
    void testFlows_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("call"); // the operation and its names, separated by "|"
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("after"); // empty: as before
        const QStringList two{u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s, u"Первый.qzr=1"_s};
        const QString exists = u"NameExists %1 с именем \"%2\" уже существует."_s;
        const QString missing = u"NotFound File not found"_s;
        const auto row = [](const char* name, const QStringList& before, const QString& call, const QString& outcome,
                            const QStringList& after = {}) {
            QTest::newRow(name) << before << call << outcome << after;
        };
        row("create", {}, u"create|Новая"_s, u"="_s, {u"Новая.qzr="_s});
        row("create over a problem", {u"Дом.qzr=x"_s}, u"create|Дом"_s, exists.arg(u"Задача"_s, u"Дом"_s));
        row("create with a bad name", {}, u"create|../Дом"_s, BadChars);
        row("rename a problem", two, u"rename|Первый|Третий"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s, u"Третий.qzr=1"_s});
        row("rename a template", two, u"renameTemplate|Первый|Третий"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzr=1"_s, u"Третий.qzp=1"_s});
        row("rename onto a problem", two, u"rename|Первый|Второй"_s, exists.arg(u"Задача"_s, u"Второй"_s));
        row("rename onto a template", two, u"renameTemplate|Первый|Второй"_s, exists.arg(u"Шаблон"_s, u"Второй"_s));
        row("rename a missing one", two, u"rename|Нет|Четвёртый"_s, missing);
        row("rename to a bad name", two, u"rename|Первый|a|b"_s, BadChars);
        row("erase a problem, not its template", two, u"remove|Первый"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s});
        row("erase a missing one", {}, u"remove|Дом"_s, missing);
        row("a free name", {}, u"freeName|Дом"_s, u"=Дом"_s);
        row("a free name beside a problem and a template", {u"Дом (2).qzp="_s, u"Дом.qzr="_s}, u"freeName|Дом"_s,
            u"=Дом (2)"_s);
        row("the next free name", {u"Дом (2).qzr="_s, u"Дом.qzr="_s}, u"freeName|Дом"_s, u"=Дом (3)"_s);
        // A template from the file of a problem: a new problem that never replaces one.
        row("add from a template", {u"Шаблон Дом.qzp=t"_s, u"Дом.qzr=mine"_s, u"Дом (2).qzr=mine too"_s},
            u"loadTemplate|Шаблон Дом"_s, u"=Дом (3)"_s,
            {u"Дом (2).qzr=mine too"_s, u"Дом (3).qzr=t"_s, u"Дом.qzr=mine"_s, u"Шаблон Дом.qzp=t"_s});
        row("add from a template of a free name", {u"Шаблон Дом.qzp=t"_s}, u"loadTemplate|Шаблон Дом"_s, u"=Дом"_s,
            {u"Дом.qzr=t"_s, u"Шаблон Дом.qzp=t"_s});
        row("a template of a missing problem", {}, u"saveTemplate|Нет"_s, missing);
    }
    void testFlows()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, call);
        QFETCH(QString, outcome);
        QFETCH(QStringList, after);
        for (const QString& e : before)
            writeBytes(m_dat + u'/' + e.section(u'=', 0, 0), e.section(u'=', 1).toUtf8());
        const QStringList c = call.split(u'|');
        const QString op = c[0];
        const QString name = c.value(1);
        const QString other = c.mid(2).join(u'|');
        const Kind kind = op.endsWith(u"Template"_s) ? Kind::Templates : Kind::Problems;
        QCOMPARE(::outcome([&] {
                     if (op == u"create"_s)
                         ProblemDirectory::create(m_dat, name, kind);
                     else if (op.startsWith(u"rename"_s))
                         ProblemDirectory::rename(m_dat, name, other, kind);
                     else if (op == u"remove"_s)
                         ProblemDirectory::remove(m_dat, name, kind);
                     else if (op == u"freeName"_s)
                         return ProblemDirectory::freeName(m_dat, name, kind);
                     else if (op == u"loadTemplate"_s)
                         return ProblemTemplates::LoadPrimer(m_dat, name);
                     else
                         return ProblemTemplates::SaveAsPrimer(m_dat, name);
                     return QString();
                 }),
                 outcome);
        QCOMPARE(entries(), after.isEmpty() ? before : after);
        QVERIFY(!QFileInfo::exists(m_tmp->path() + u"/Дом.qzr"_s));
    }

    // A folder in the file's place is neither erased nor read as a problem.
    void testFolderInPlaceOfAFile()
    {
        QVERIFY(QDir(m_dat).mkdir(u"Папка.qzr"_s));
        const auto remove = [&] {
            ProblemDirectory::remove(m_dat, u"Папка"_s, Kind::Problems);
            return QString();
        };
        QVERIFY(outcome(remove).startsWith(u"IoError I/O error "_s));
        QVERIFY(QFileInfo(problem(u"Папка"_s)).isDir());
    }

    void testTemplateNames()
    {
        const std::pair<QString, QString> rows[] = {{u"Шаблон Дом"_s, u"Дом"_s},
                                                    {u"Мой Шаблон Дом"_s, u"Мой Дом"_s},
                                                    {u"Шаблон Шаблон Дом"_s, u"Шаблон Дом"_s},
                                                    {u"Квартира"_s, u"Квартира"_s},
                                                    {u"ШаблонДом"_s, u"ШаблонДом"_s}};
        for (const auto& [templateName, problemName] : rows)
            QCOMPARE(ProblemTemplates::problemNameFor(templateName), problemName);
    }

    // A template keeps the criteria of its problem, three placeholder alternatives and no judgements; the problem
    // stays as it was. A name that fits as a problem but not with "Шаблон " before it is refused.
    void testSaveAsTemplate()
    {
        writeBytes(problem(u"Дом"_s), cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n[Qual]\r\nQ_0=Цена\r\n"
                                             "Q_1=Площадь\r\nCount=2\r\n[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n"));
        const QByteArray before = readBytes(problem(u"Дом"_s));
        writeBytes(templ(u"Шаблон Дом"_s), "old template");
        QCOMPARE(ProblemTemplates::SaveAsPrimer(m_dat, u"Дом"_s), u"Шаблон Дом"_s);
        IniFile made(templ(u"Шаблон Дом"_s));
        QStringList names;
        for (const auto kind : {ProblemLists::Kind::Alternatives, ProblemLists::Kind::Criteria}) {
            for (const TLElem& e : ProblemLists::load(made, kind))
                names << e.Name;
        }
        QCOMPARE(names,
                 (QStringList{u"Первый вариант"_s, u"Второй вариант"_s, u"Третий вариант"_s, u"Цена"_s, u"Площадь"_s}));
        QCOMPARE(made.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, 0), 3);
        QCOMPARE(made.readInteger(ProblemKeys::QualSection, ProblemKeys::CountKey, 0), 2);
        QVERIFY(!made.snapshot()->hasSection(ProblemKeys::JudgementSection));
        QCOMPARE(readBytes(problem(u"Дом"_s)), before);

        const QString name(124, u'ж');
        writeBytes(problem(name), "");
        QVERIFY(outcome([&] { return ProblemTemplates::SaveAsPrimer(m_dat, name); }).startsWith(u"BadName"_s));
        QCOMPARE(ProblemDirectory::names(m_dat, Kind::Templates), QStringList{u"Шаблон Дом"_s});
    }
};

QTEST_GUILESS_MAIN(TestProblemDirectory)
#include "test_problem_directory.moc"
