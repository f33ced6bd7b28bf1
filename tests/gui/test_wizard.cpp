// Start-up, the windows of the wizard, the intro screen and the moves between screens.
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "lists/ui/TStGCollect.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"
#include "storage/ui/TFormListProblem.h"

#include "GuiTestSupport.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;

class TestWizard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    void clickNext(QWidget* screen)
    {
        auto* button = GuiTest::child<QPushButton>(screen, u"ButNext"_s);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init()
    {
        m_session = std::make_unique<GuiTest::Session>();
        QVERIFY(m_session->isValid());
        ComUnit::CompareSteps = QStringList{u"stale"_s};
        ComUnit::CurrentStep = 7;
        m_wizard = std::make_unique<Wizard>();
        m_wizard->start();
        QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormInit));
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            m_session->keepScreenshot(m_wizard->current(), u"failed"_s);
        GUITEST_CHECK_DIALOGS(*m_session);
        m_wizard.reset();
        m_session.reset();
    }

    void testApplicationTitle()
    {
        QCOMPARE(QCoreApplication::applicationName(), u"Оптивар"_s);
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
    }

    void testScreensCreatedInOrderAndOnlyIntroShown()
    {
        QStringList names;
        for (WizardScreen* screen : m_wizard->screens()) {
            names << screen->objectName();
            QCOMPARE(screen->isVisible(), screen == m_wizard->FormInit);
        }
        QCOMPARE(names, (QStringList{u"FormInit"_s, u"FormListAlt"_s, u"FormMain"_s, u"FormStart"_s,
                                     u"FormListQuality"_s, u"FormFinal"_s, u"FormListProblem"_s, u"FormSolQ"_s}));
        QCOMPARE(m_wizard->current(), m_wizard->FormInit);
    }

    void testSharedStatePreparedWithoutTouchingTheDisk()
    {
        QCOMPARE(ComUnit::DatDir, m_session->datDir());
        QCOMPARE(ComUnit::ProblemFile, m_session->datDir() + u"/Задача.qzr"_s);
        QVERIFY(ComUnit::CompareSteps.isEmpty());
        QCOMPARE(ComUnit::CurrentStep, 0);
        QVERIFY(!QFileInfo::exists(m_session->datDir()));
        QVERIFY(QDir(m_session->path()).isEmpty());
    }

    void testCaptions_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("title");
        QTest::newRow("intro") << u"FormInit"_s << u"Оптивар 2009 R2 | программа для поддержки принятия решений"_s;
        QTest::newRow("problems") << u"FormListProblem"_s << u"Оптивар 2009 R2 | список задач"_s;
        // The first letter after the bar is a Latin c.
        QTest::newRow("alternatives") << u"FormListAlt"_s
                                      << u"Оптивар 2009 R2 | c\u043f\u0438\u0441\u043e\u043a "
                                         u"\u0430\u043b\u044c\u0442\u0435\u0440\u043d\u0430"
                                         u"\u0442\u0438\u0432"_s;
        QTest::newRow("criteria") << u"FormListQuality"_s << u"Оптивар 2009 R2 | список критериев"_s;
        QTest::newRow("step by step") << u"FormMain"_s << u"Оптивар 2009 R2 | диалог сравнения"_s;
        QTest::newRow("results") << u"FormFinal"_s << u"Оптивар 2009 R2 | результаты расчетов"_s;
    }

    void testCaptions()
    {
        QFETCH(QString, screen);
        QFETCH(QString, title);
        WizardScreen* found = nullptr;
        for (WizardScreen* s : m_wizard->screens()) {
            if (s->objectName() == screen)
                found = s;
        }
        QVERIFY(found);
        QCOMPARE(found->windowTitle(), title);
        found->show();
        QVERIFY(QTest::qWaitForWindowExposed(found));
        QVERIFY(found->windowHandle());
        QCOMPARE(found->windowHandle()->title(), title);
        // Window systems append an explicitly set display name to every title; it
        // must be unset, so that it follows whatever the application name is.
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(u"probe"_s);
        const QString display = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(display, u"probe"_s);
    }

    // Tab goes through the controls of each screen in reading order; it passes
    // over hidden and disabled ones, so those are left out here too.
    void testTabOrder_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("order");
        const QStringList list = {u"StGList"_s, u"ButInsert"_s, u"ButEdit"_s, u"ButDelete"_s};
        QTest::newRow("intro") << u"FormInit"_s << QStringList{u"MemoInf"_s, u"ButNext"_s};
        QTest::newRow("problems") << u"FormListProblem"_s
                                  << list + QStringList{u"ButSavePrimer"_s, u"ButLoadPrimer"_s, u"StGPrimer"_s,
                                                        u"ButEditPrimer"_s, u"ButDelPrimer"_s,  u"MemoInf"_s,
                                                        u"ButPrev"_s,       u"ButNext"_s};
        QTest::newRow("alternatives") << u"FormListAlt"_s
                                      << list + QStringList{u"MemoInf"_s, u"ButPrev"_s, u"ButNext"_s};
        QTest::newRow("criteria") << u"FormListQuality"_s
                                  << list + QStringList{u"MemoInf"_s, u"ButPrev"_s, u"ButExpToWord"_s, u"ButNext"_s,
                                                        u"ButNextCompact"_s};
        QTest::newRow("step by step") << u"FormMain"_s
                                      << QStringList{u"TBarMera"_s,       u"ButRunNumer"_s, u"EdA"_s,
                                                     u"ChBLowerBetter"_s, u"EdB"_s,         u"ButPrev"_s,
                                                     u"CBoxStep"_s,       u"ButNext"_s};
        QStringList compact;
        for (const char* d : {"01", "02", "03", "04", "12", "13", "14", "23", "24", "34"})
            compact << u"TBarMera"_s + QLatin1StringView(d);
        QTest::newRow("compact") << u"FormSolQ"_s << compact + QStringList{u"ButPrev"_s, u"MemoInf"_s, u"ButNext"_s};
        QTest::newRow("results") << u"FormFinal"_s
                                 << QStringList{u"MResult"_s, u"ButPrev"_s, u"ButAnalysis"_s, u"ButExpToWordShort"_s,
                                                u"ButExpToWordFull"_s};
    }

    void testTabOrder()
    {
        QFETCH(QString, screen);
        QFETCH(QStringList, order);
        QWidget* found = nullptr;
        for (WizardScreen* s : m_wizard->screens()) {
            if (s->objectName() == screen)
                found = s;
        }
        QVERIFY(found);
        QStringList visited;
        for (QWidget* w = found->nextInFocusChain(); w != found; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(found) && w->isEnabled())
                visited << w->objectName();
        }
        // The chain is a ring: read it from the first control on.
        const qsizetype first = visited.indexOf(order.first());
        QVERIFY(first >= 0);
        QCOMPARE(visited.mid(first) + visited.first(first), order);
    }

    // Enter presses the button that has the focus, as on Windows (here on two kinds of screen).
    void testEnterPressesTheFocusedButton()
    {
        auto* next = GuiTest::child<QPushButton>(m_wizard->FormInit, u"ButNext"_s);
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        auto* insert = GuiTest::child<QPushButton>(m_wizard->FormListProblem, u"ButInsert"_s);
        insert->setFocus();
        QTest::keyClick(insert, Qt::Key_Enter);
        QVERIFY(GuiTest::child<QWidget>(m_wizard->FormListProblem, u"GEdit"_s)->isVisible());
    }

    void testGeometryOfEveryScreen()
    {
        for (WizardScreen* screen : m_wizard->screens()) {
            QCOMPARE(screen->size(), QSize(792, 573));
            QCOMPARE(screen->minimumSize(), QSize(792, 573));
            QCOMPARE(screen->maximumSize(), QSize(792, 573));
            const Qt::WindowFlags flags = screen->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
            QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
            QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
            screen->show();
            QVERIFY(QTest::qWaitForWindowExposed(screen));
            const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
            QVERIFY2((screen->frameGeometry().center() - centre).manhattanLength() <= 2,
                     qPrintable(screen->objectName()));
        }
    }

    void testIntroShowsItsTextAndPicture()
    {
        auto* memo = GuiTest::child<QPlainTextEdit>(m_wizard->FormInit, u"MemoInf"_s);
        QVERIFY(memo);
        QVERIFY(memo->isReadOnly());
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.first(), u"\"Оптивар 2009 R2\" - персональная система "_s);
        QCOMPARE(lines.at(1), u"поддержки принятия решений."_s);
        QCOMPARE(lines.at(2), QString());
        QCOMPARE(lines.last(), u"\"Продолжить\".  "_s);
        QVERIFY(lines.contains(u"выбора, выбор \"доброго молодца\" на развилке трех  дорог : на лево "_s));

        auto* picture = GuiTest::child<QWidget>(m_wizard->FormInit, u"Picture"_s);
        QVERIFY(picture);
        QCOMPARE(picture->size(), QSize(285, 347));
        const QImage image = picture->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 10, "the picture is drawn, not blank");
    }

    void testIntroLeadsToTheProblemListAndBack()
    {
        clickNext(m_wizard->FormInit);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        QVERIFY(m_wizard->FormListProblem->isVisible());
        QVERIFY(!m_wizard->FormInit->isVisible());
        QVERIFY(QFileInfo(m_session->datDir()).isDir()); // made when the list is first shown
        QCOMPARE(ComUnit::ProblemIni.path(), m_session->datDir() + u"/Задача.qzr"_s);
        QVERIFY(!QFileInfo::exists(ComUnit::ProblemIni.path()));

        auto* back = GuiTest::child<QPushButton>(m_wizard->FormListProblem, u"ButPrev"_s);
        QVERIFY(back);
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(m_wizard->current(), m_wizard->FormInit);
        QVERIFY(m_wizard->FormInit->isVisible());
        QVERIFY(!m_wizard->FormListProblem->isVisible());
    }

    void testProblemListFailureIsShownAndTheListStaysEmpty()
    {
        // A file where the data folder should be: the folder cannot be made.
        QFile blocker(m_session->datDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_session->dialogs().answer(Button::Ok);
        clickNext(m_wizard->FormInit);
        QCOMPARE(m_session->dialogs().calls().size(), 1);
        QCOMPARE(m_session->dialogs().calls().at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(m_session->dialogs().calls().at(0).title, u"Оптивар"_s);
        QVERIFY(m_session->dialogs().calls().at(0).text.endsWith(u'.'));
        QCOMPARE(m_wizard->FormListProblem->grid()->Count(), 0);
    }

    void testClosingAnyScreenAsks_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<Button>("answer");
        for (int i : {0, 1, 4, 6}) {
            QTest::addRow("screen %d, no", i) << i << Button::No;
            QTest::addRow("screen %d, yes", i) << i << Button::Yes;
        }
    }

    void testClosingAnyScreenAsks()
    {
        QFETCH(int, screen);
        QFETCH(Button, answer);
        WizardScreen* window = m_wizard->screens().at(screen);
        window->show();
        QSignalSpy quit(m_wizard.get(), &Wizard::quitRequested);
        m_session->dialogs().answer(answer);
        window->close();
        QCOMPARE(m_session->dialogs().calls().size(), 1);
        QCOMPARE(m_session->dialogs().calls().at(0).text, u"Закончить работу с программой \"Оптивар\" ?"_s);
        QCOMPARE(quit.size(), answer == Button::Yes ? 1 : 0);
        QCOMPARE(window->isVisible(), answer == Button::No);
    }
};

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
