// The data folder as the problem screen sees it: listing, name checks, renames
// that never replace, erasing, and making and using templates.
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"
#include "storage/ProblemTemplates.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using ProblemDirectory::Kind;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

Q_DECLARE_METATYPE(ProblemDirectory::Kind)

class TestProblemDirectory : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_dat;

    QString problem(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Kind::Problems); }
    QString templ(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Kind::Templates); }

    template <typename F> static OptivarError::Code failureOf(F&& f, QString* message = nullptr)
    {
        try {
            f();
        } catch (const OptivarError& e) {
            if (message)
                *message = e.message();
            return e.code();
        }
        return static_cast<OptivarError::Code>(-1);
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
        const QString fine;
        const QString chars = u"Имя не может содержать символы \\ / : * ? \" < > |."_s;
        QTest::newRow("plain") << u"Дом"_s << fine;
        QTest::newRow("inner blanks and dots") << u"Дом у реки. Вариант 2"_s << fine;
        QTest::newRow("empty") << QString() << u"Имя не может быть пустым."_s;
        QTest::newRow("blanks only") << u"   "_s << u"Имя не может быть пустым."_s;
        QTest::newRow("dot") << u"."_s << u"Имя не может состоять из одних точек."_s;
        QTest::newRow("two dots") << u".."_s << u"Имя не может состоять из одних точек."_s;
        QTest::newRow("slash") << u"a/b"_s << chars;
        QTest::newRow("slash up") << u"../x"_s << chars;
        QTest::newRow("backslash") << u"a\\b"_s << chars;
        for (const QChar c : u":*?\"<>|"_s) {
            const QString name = u"a"_s + QChar(c) + u"b"_s;
            QTest::newRow(qPrintable(u"char "_s + QChar(c))) << name << chars;
        }
        QTest::newRow("inner tab") << u"a\tb"_s << u"Имя не может содержать управляющие символы."_s;
        QTest::newRow("inner DEL") << u"a\x7f"_s + u"b"_s << u"Имя не может содержать управляющие символы."_s;
        QTest::newRow("trailing full stop") << u"Дом."_s << u"Имя не может оканчиваться пробелом или точкой."_s;
        QTest::newRow("trailing no-break space")
            << u"Дом\u00a0"_s << u"Имя не может оканчиваться пробелом или точкой."_s;
        // The file system counts bytes: a Cyrillic letter takes two, ".qzr" four.
        QTest::newRow("Latin at the byte limit") << QString(251, u'x') << fine;
        QTest::newRow("Latin one byte over") << QString(252, u'x') << u"Имя слишком длинное для имени файла."_s;
        QTest::newRow("Cyrillic at the byte limit") << QString(125, u'ж') << fine;
        QTest::newRow("Cyrillic over") << QString(126, u'ж') << u"Имя слишком длинное для имени файла."_s;
    }

    void testNameProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QCOMPARE(ProblemDirectory::nameProblem(name, Kind::Problems), reason);
        QString message;
        const auto code = failureOf([&] { ProblemDirectory::checkName(name, Kind::Problems); }, &message);
        if (reason.isEmpty()) {
            QCOMPARE(int(code), -1);
        } else {
            QCOMPARE(code, OptivarError::Code::BadName);
            QCOMPARE(message, reason);
        }
    }

    void testTrimmedName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("untouched") << u"Дом"_s << u"Дом"_s;
        QTest::newRow("blanks and controls around") << u" \t\x01Дом у реки \r\n"_s << u"Дом у реки"_s;
        QTest::newRow("no-break space kept") << u"\u00a0Дом"_s << u"\u00a0Дом"_s;
        QTest::newRow("cut to 255") << QString(300, u'я') << QString(255, u'я');
        QTest::newRow("cut after trimming") << (u"  "_s + QString(255, u'я') + u"z"_s) << QString(255, u'я');
    }

    void testTrimmedName()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(ProblemDirectory::trimmedName(text), name);
    }

    void testListingKeepsExactEndingsInCollationOrder()
    {
        for (const QString& file : {u"cherry.qzr"_s, u"Banana.qzr"_s, u"apple.qzr"_s, u"Поездка.qzr.qzr"_s,
                                    u"Дом.QZR"_s, u"Шаблон Дом.qzp"_s, u"qzr"_s, u"notes.qzr.bak"_s})
            writeBytes(m_dat + u'/' + file, QByteArray());
        QVERIFY(QDir(m_dat).mkdir(u"folder.qzr"_s));

        const QStringList problems = ProblemDirectory::names(m_dat, Kind::Problems);
        QCOMPARE(problems.size(), 4);
        QVERIFY(problems.contains(u"Поездка.qzr"_s));
        // Whatever the locale puts first, it does not sort capitals before small letters as code order does.
        QStringList latin = problems;
        latin.removeAll(u"Поездка.qzr"_s);
        QCOMPARE(latin, (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
        QCOMPARE(ProblemDirectory::names(m_dat, Kind::Templates), QStringList{u"Шаблон Дом"_s});
    }

    void testListingCreatesTheFolder()
    {
        QVERIFY(QDir(m_dat).removeRecursively());
        QVERIFY(ProblemDirectory::names(m_dat, Kind::Templates).isEmpty());
        QVERIFY(QFileInfo(m_dat).isDir());
    }

    void testListingFailsWhenTheFolderIsAFile()
    {
        QVERIFY(QDir(m_dat).removeRecursively());
        writeBytes(m_dat, "not a folder");
        QCOMPARE(failureOf([&] { ProblemDirectory::names(m_dat, Kind::Problems); }), OptivarError::Code::IoError);
    }

    void testCreateNeverReplaces()
    {
        writeBytes(problem(u"Дом"_s), "[Alt]\r\nA_0=x\r\n");
        QString message;
        QCOMPARE(failureOf([&] { ProblemDirectory::create(m_dat, u"Дом"_s, Kind::Problems); }, &message),
                 OptivarError::Code::NameExists);
        QCOMPARE(message, u"Задача с именем \"Дом\" уже существует."_s);
        QCOMPARE(readBytes(problem(u"Дом"_s)), QByteArray("[Alt]\r\nA_0=x\r\n"));

        ProblemDirectory::create(m_dat, u"Новая"_s, Kind::Problems);
        QCOMPARE(QFileInfo(problem(u"Новая"_s)).size(), 0);
    }

    void testCreateRefusesBadNameAndMakesNothing()
    {
        QCOMPARE(failureOf([&] { ProblemDirectory::create(m_dat, u"../Дом"_s, Kind::Problems); }),
                 OptivarError::Code::BadName);
        QVERIFY(!QFileInfo::exists(m_tmp->path() + u"/Дом.qzr"_s));
        QVERIFY(QDir(m_dat).isEmpty());
    }

    void testRename_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("problem") << Kind::Problems << u"Задача с именем \"Второй\" уже существует."_s;
        QTest::newRow("template") << Kind::Templates << u"Шаблон с именем \"Второй\" уже существует."_s;
    }

    void testRename()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, message);
        const QString first = ProblemDirectory::filePath(m_dat, u"Первый"_s, kind);
        const QString second = ProblemDirectory::filePath(m_dat, u"Второй"_s, kind);
        writeBytes(first, "first");
        writeBytes(second, "second");

        QString got;
        QCOMPARE(failureOf([&] { ProblemDirectory::rename(m_dat, u"Первый"_s, u"Второй"_s, kind); }, &got),
                 OptivarError::Code::NameExists);
        QCOMPARE(got, message);
        QCOMPARE(readBytes(first), QByteArray("first"));
        QCOMPARE(readBytes(second), QByteArray("second"));

        ProblemDirectory::rename(m_dat, u"Первый"_s, u"Третий"_s, kind);
        QVERIFY(!QFileInfo::exists(first));
        QCOMPARE(readBytes(ProblemDirectory::filePath(m_dat, u"Третий"_s, kind)), QByteArray("first"));

        QCOMPARE(failureOf([&] { ProblemDirectory::rename(m_dat, u"Нет"_s, u"Четвёртый"_s, kind); }, &got),
                 OptivarError::Code::NotFound);
        QCOMPARE(got, u"File not found"_s);
        QCOMPARE(failureOf([&] { ProblemDirectory::rename(m_dat, u"Третий"_s, u"a|b"_s, kind); }),
                 OptivarError::Code::BadName);
        QVERIFY(QFileInfo::exists(ProblemDirectory::filePath(m_dat, u"Третий"_s, kind)));
    }

    void testRemove()
    {
        writeBytes(problem(u"Дом"_s), "x");
        writeBytes(templ(u"Дом"_s), "y");
        ProblemDirectory::remove(m_dat, u"Дом"_s, Kind::Problems);
        QVERIFY(!QFileInfo::exists(problem(u"Дом"_s)));
        QVERIFY(QFileInfo::exists(templ(u"Дом"_s)));

        QString message;
        QCOMPARE(failureOf([&] { ProblemDirectory::remove(m_dat, u"Дом"_s, Kind::Problems); }, &message),
                 OptivarError::Code::NotFound);
        QCOMPARE(message, u"File not found"_s);
        // A folder in the file's place cannot be erased as a file.
        QVERIFY(QDir(m_dat).mkdir(u"Папка.qzr"_s));
        QCOMPARE(failureOf([&] { ProblemDirectory::remove(m_dat, u"Папка"_s, Kind::Problems); }, &message),
                 OptivarError::Code::IoError);
        QVERIFY(message.startsWith(u"I/O error "_s));
    }

    void testFreeName()
    {
        QCOMPARE(ProblemDirectory::freeName(m_dat, u"Дом"_s, Kind::Problems), u"Дом"_s);
        writeBytes(problem(u"Дом"_s), "");
        writeBytes(templ(u"Дом (2)"_s), "");
        QCOMPARE(ProblemDirectory::freeName(m_dat, u"Дом"_s, Kind::Problems), u"Дом (2)"_s);
        writeBytes(problem(u"Дом (2)"_s), "");
        QCOMPARE(ProblemDirectory::freeName(m_dat, u"Дом"_s, Kind::Problems), u"Дом (3)"_s);
    }

    void testTemplateNames_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("problemName");
        QTest::newRow("made by the program") << u"Шаблон Дом"_s << u"Дом"_s;
        QTest::newRow("prefix inside") << u"Мой Шаблон Дом"_s << u"Мой Дом"_s;
        QTest::newRow("only the first") << u"Шаблон Шаблон Дом"_s << u"Шаблон Дом"_s;
        QTest::newRow("no prefix") << u"Квартира"_s << u"Квартира"_s;
        QTest::newRow("no blank after it") << u"ШаблонДом"_s << u"ШаблонДом"_s;
    }

    void testTemplateNames()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, problemName);
        QCOMPARE(ProblemTemplates::problemNameFor(templateName), problemName);
    }

    void testSaveAsTemplateKeepsCriteriaOnly()
    {
        writeBytes(problem(u"Дом"_s), cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n"
                                             "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nCount=2\r\n"
                                             "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n"));
        writeBytes(templ(u"Шаблон Дом"_s), "old template");

        QCOMPARE(ProblemTemplates::SaveAsPrimer(m_dat, u"Дом"_s), u"Шаблон Дом"_s);

        IniFile made(templ(u"Шаблон Дом"_s));
        const QList<TLElem> alts = ProblemLists::load(made, ProblemLists::Kind::Alternatives);
        QCOMPARE(alts.size(), 3);
        QCOMPARE(alts.at(0).Name, u"Первый вариант"_s);
        QCOMPARE(alts.at(1).Name, u"Второй вариант"_s);
        QCOMPARE(alts.at(2).Name, u"Третий вариант"_s);
        QCOMPARE(made.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, 0), 3);
        const QList<TLElem> crits = ProblemLists::load(made, ProblemLists::Kind::Criteria);
        QCOMPARE(crits.size(), 2);
        QCOMPARE(crits.at(1).Name, u"Площадь"_s);
        QVERIFY(!made.snapshot()->hasSection(ProblemKeys::JudgementSection));
        // The problem itself is as it was.
        QVERIFY(readBytes(problem(u"Дом"_s)).contains("Q_0*Q_1=-3"));
    }

    void testSaveAsTemplateRefusesTooLongName()
    {
        const QString name(124, u'ж'); // fits as a problem, not with "Шаблон " before it
        writeBytes(problem(name), "");
        QCOMPARE(failureOf([&] { ProblemTemplates::SaveAsPrimer(m_dat, name); }), OptivarError::Code::BadName);
        QCOMPARE(ProblemDirectory::names(m_dat, Kind::Templates), QStringList());
    }

    void testSaveAsTemplateOfMissingProblem()
    {
        QCOMPARE(failureOf([&] { ProblemTemplates::SaveAsPrimer(m_dat, u"Нет"_s); }), OptivarError::Code::NotFound);
        QCOMPARE(ProblemDirectory::names(m_dat, Kind::Templates), QStringList());
    }

    void testAddFromTemplateNeverOverwrites()
    {
        const QByteArray content = cp1251("[Qual]\r\nQ_0=Цена\r\nCount=1\r\n");
        writeBytes(templ(u"Шаблон Дом"_s), content);
        writeBytes(problem(u"Дом"_s), "mine");
        writeBytes(problem(u"Дом (2)"_s), "mine too");

        QCOMPARE(ProblemTemplates::LoadPrimer(m_dat, u"Шаблон Дом"_s), u"Дом (3)"_s);
        QCOMPARE(readBytes(problem(u"Дом (3)"_s)), content);
        QCOMPARE(readBytes(problem(u"Дом"_s)), QByteArray("mine"));
        QCOMPARE(readBytes(problem(u"Дом (2)"_s)), QByteArray("mine too"));

        QVERIFY(QFile::remove(problem(u"Дом"_s)));
        QCOMPARE(ProblemTemplates::LoadPrimer(m_dat, u"Шаблон Дом"_s), u"Дом"_s);
        QCOMPARE(readBytes(problem(u"Дом"_s)), content);
    }
};

QTEST_GUILESS_MAIN(TestProblemDirectory)
#include "test_problem_directory.moc"
