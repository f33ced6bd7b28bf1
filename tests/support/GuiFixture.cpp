#include "GuiFixture.h"

#include "TestSupport.h"
#include "report/ui/ExportNotice.h"
#include "storage/ProblemLists.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

using namespace Qt::Literals::StringLiterals;

// The script of the whole run, under the scripts of the tests.
static ScriptedDialogs* g_wholeRun = nullptr;

int GuiFixture::run(QObject* tests, int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN does
    Wizard::prepareApplication();
    ScriptedDialogs wholeRun;
    g_wholeRun = &wholeRun;
    int failed = QTest::qExec(tests, argc, argv);
    g_wholeRun = nullptr;
    if (!wholeRun.unexpected().isEmpty()) {
        qWarning("%s", qPrintable(wholeRun.unexpected().join(u'\n')));
        failed = std::max(failed, 1);
    }
    return failed;
}

void GuiFixture::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_strayBefore = g_wholeRun ? g_wholeRun->unexpected().size() : 0;
    m_opener = std::make_unique<InterceptedOpener>();
    // The shared state as another run may have left it: the wizard prepares its
    // part, the rest is as at start-up.
    ComUnit::CompareSteps = QStringList{u"stale"_s};
    ComUnit::CurrentStep = 7;
    ComUnit::InterfaceMode = 0;
    ComUnit::AltCount = 0;
    m_wizard = std::make_unique<Wizard>();
    m_wizard->start();
}

void GuiFixture::cleanup()
{
    if (QTest::currentTestFailed() && m_dir) {
        m_dir->setAutoRemove(false);
        qWarning("The folder of the failed test is kept: %s", qPrintable(m_dir->path()));
    }
    m_wizard.reset();
    const auto tearDown = qScopeGuard([this] {
        m_opener.reset();
        m_dialogs.reset();
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
        QLocale::setDefault(QLocale::system());
    });
    QStringList stray = m_dialogs ? m_dialogs->unexpected() : QStringList();
    if (g_wholeRun)
        stray += g_wholeRun->unexpected().mid(m_strayBefore);
    QVERIFY2(stray.isEmpty(), qPrintable(stray.join(u'\n')));
    QVERIFY2(!m_dialogs || m_dialogs->pending() == 0, "an answer was left unused: a box did not come");
}

void GuiFixture::writeDat(const QString& fileName, const QByteArray& bytes) const
{
    QDir().mkpath(datDir());
    TestSupport::writeBytes(datDir() + u'/' + fileName, bytes);
}

QByteArray GuiFixture::section(const QByteArray& name) const
{
    const QByteArray bytes = problemBytes();
    const qsizetype at = bytes.indexOf('[' + name + "]\r\n");
    const qsizetype end = bytes.indexOf("\r\n[", at);
    return at < 0 ? QByteArray() : bytes.mid(at, end < 0 ? -1 : end + 2 - at);
}

QStringList GuiFixture::boxes() const
{
    QStringList out;
    static const QStringList kinds = {u"information"_s, u"warning"_s,   u"question"_s, u"error"_s,
                                      u"plain"_s,       u"open file"_s, u"save file"_s};
    for (const ScriptedDialogs::Call& call : m_dialogs->calls())
        out << kinds.value(int(call.kind)) + u" | "_s + call.title + u" | "_s + call.text;
    return out;
}

void GuiFixture::click(QWidget* screen, const QString& button)
{
    auto* b = child<QPushButton>(screen, button);
    QVERIFY2(b && b->isEnabled(), qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void GuiFixture::typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const bool ascii = c.unicode() < 128 && c.isLetterOrNumber();
        const Qt::Key key = ascii ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

QString GuiFixture::textOf(QWidget* screen, const QString& name)
{
    if (auto* label = child<QLabel>(screen, name))
        return label->text();
    if (auto* button = child<QAbstractButton>(screen, name))
        return button->text();
    return u"<no "_s + name + u'>';
}

QStringList GuiFixture::texts(QWidget* screen, const QStringList& names)
{
    QStringList out;
    for (const QString& name : names)
        out << textOf(screen, name);
    return out;
}

TStGCollect* GuiFixture::grid(QWidget* screen, const QString& name)
{
    return child<TStGCollect>(screen, name);
}

QStringList GuiFixture::column(TStGCollect* grid, int col)
{
    QStringList out;
    for (int row = TStGCollect::FixedRows; grid && row < grid->RowCount(); ++row)
        out << grid->Cells(col, row);
    return out;
}

void GuiFixture::openAlternatives(const QByteArray& problem)
{
    writeDat(u"Дом.qzr"_s, problem);
    click(m_wizard->FormInit, u"ButNext"_s);
    click(m_wizard->FormListProblem, u"ButNext"_s);
    QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormListAlt));
}

void GuiFixture::openCriteria(const QByteArray& problem)
{
    openAlternatives(problem);
    if (grid(m_wizard->FormListAlt)->Count() > ProblemLists::MaxCompactCount)
        answer(Dialogs::Button::Ok); // the notice about the step-by-step interface
    click(m_wizard->FormListAlt, u"ButNext"_s);
    QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
    m_dialogs->clearCalls();
}

void GuiFixture::openStepDialog(const QByteArray& problem)
{
    openCriteria(problem);
    click(m_wizard->FormListQuality, u"ButNext"_s);
    QCOMPARE(m_wizard->current(), m_wizard->FormMain);
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormMain));
}

void GuiFixture::openCompact(const QByteArray& problem)
{
    openCriteria(problem);
    click(m_wizard->FormListQuality, u"ButNextCompact"_s);
    QCOMPARE(m_wizard->current(), m_wizard->FormSolQ);
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormSolQ));
}

void GuiFixture::showResults(const QByteArray& problem, bool compact)
{
    if (compact) {
        openCompact(problem);
        for (int page = 0; page <= TFormSolQ::Positions && m_wizard->current() == m_wizard->FormSolQ; ++page)
            click(m_wizard->FormSolQ, u"ButNext"_s);
    } else {
        openStepDialog(problem);
        QTest::keyClick(child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s), Qt::Key_End);
        click(m_wizard->FormMain, u"ButNext"_s);
    }
    QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormFinal));
}

void GuiFixture::addItem(QWidget* screen, const QString& name)
{
    click(screen, u"ButInsert"_s);
    auto* edit = child<NameEdit>(screen, u"GEdit"_s);
    QVERIFY(edit && edit->isVisible());
    edit->selectAll();
    typeText(edit, name); // replaces the proposed name
    QTest::keyClick(edit, Qt::Key_Return);
}

void GuiFixture::makeStoresFail()
{
    QVERIFY(QFile::remove(problemPath()) && QDir().mkdir(problemPath()));
    answer(Dialogs::Button::Ok);
}

void GuiFixture::checkNotice(QWidget* screen, const QString& path)
{
    auto* notice = child<ExportNotice>(screen, u"STextSaved"_s);
    QVERIFY(notice && notice->isVisible());
    QVERIFY2(notice->text().contains(QFileInfo(path).fileName()), qPrintable(notice->text()));
    QVERIFY2(notice->sizeHint().width() <= notice->width(), qPrintable(notice->text()));
    QCOMPARE(notice->toolTip(), QDir::toNativeSeparators(path));
    Q_EMIT notice->linkActivated(u"folder"_s);
    QCOMPARE(opener().opened().last(), QFileInfo(path).absolutePath());
}

QByteArray houseProblem()
{
    return TestSupport::cp1251("[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nA_3=Назад\r\nCount=4\r\n"
                               "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n");
}

QByteArray listSection(const char* section, const char* prefix, int count, bool withCount)
{
    QByteArray out = QByteArray("[") + section + "]\r\n";
    for (int i = 0; i < count; ++i)
        out += prefix + QByteArray::number(i) + "=" + TestSupport::cp1251("Элемент ") + QByteArray::number(i) + "\r\n";
    if (withCount)
        out += "Count=" + QByteArray::number(count) + "\r\n";
    return out;
}

QByteArray problemWith(int alternatives, int criteria)
{
    return listSection("Alt", "A_", alternatives) + listSection("Qual", "Q_", criteria);
}
