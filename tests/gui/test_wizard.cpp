// Start-up, the windows of the wizard, the intro screen, the keyboard, the
// closing question of every screen, the one error box, and Qt's own texts.
#include "shell/ui/ErrorBox.h"
#include "storage/OptivarError.h"

#include "GuiFixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;

class TestWizard : public GuiFixture
{
    Q_OBJECT

    WizardScreen* screen(const QString& name) const
    {
        for (WizardScreen* s : m_wizard->screens()) {
            if (s->objectName() == name)
                return s;
        }
        return nullptr;
    }

private Q_SLOTS:
    // The screens in their order with their captions, only the intro shown, the
    // shared state prepared and nothing on disk.
    void testStartUp()
    {
        QCOMPARE(QCoreApplication::applicationName(), u"Оптивар"_s);
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        // Window systems append an explicitly set display name to every title: it stays unset.
        QCoreApplication::setApplicationName(u"probe"_s);
        const QString display = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(u"Оптивар"_s);
        QCOMPARE(display, u"probe"_s);

        QStringList names;
        for (WizardScreen* s : m_wizard->screens()) {
            names << s->objectName();
            QCOMPARE(s->isVisible(), s == m_wizard->FormInit);
        }
        QCOMPARE(names, (QStringList{u"FormInit"_s, u"FormListAlt"_s, u"FormMain"_s, u"FormStart"_s,
                                     u"FormListQuality"_s, u"FormFinal"_s, u"FormListProblem"_s, u"FormSolQ"_s}));
        const QList<std::pair<QString, QString>> captions = {
            {u"FormInit"_s, u"программа для поддержки принятия решений"_s},
            {u"FormListProblem"_s, u"список задач"_s},
            {u"FormListAlt"_s, u"c\u043f\u0438\u0441\u043e\u043a альтернатив"_s}, // a Latin c first
            {u"FormListQuality"_s, u"список критериев"_s},
            {u"FormMain"_s, u"диалог сравнения"_s},
            {u"FormFinal"_s, u"результаты расчетов"_s}};
        for (const auto& [name, caption] : captions)
            QCOMPARE(screen(name)->windowTitle(), u"Оптивар 2009 R2 | "_s + caption);
        m_wizard->FormListAlt->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormListAlt));
        QCOMPARE(m_wizard->FormListAlt->windowHandle()->title(), m_wizard->FormListAlt->windowTitle());

        QCOMPARE(ComUnit::DatDir + u'|' + ComUnit::ProblemFile, datDir() + u'|' + datDir() + u"/Задача.qzr"_s);
        QVERIFY(ComUnit::CompareSteps.isEmpty() && ComUnit::CurrentStep == 0);
        QVERIFY(QDir::current().isEmpty());
    }

    // Tab goes through the controls of each screen in reading order, passing over
    // hidden and disabled ones, which are left out here too.
    void testTabOrder()
    {
        const QString list = u"StGList ButInsert ButEdit ButDelete "_s;
        const std::tuple<QString, QString> rows[] = {
            {u"FormInit"_s, u"MemoInf ButNext"_s},
            {u"FormListProblem"_s, list + u"ButSavePrimer ButLoadPrimer StGPrimer ButEditPrimer ButDelPrimer "
                                          u"MemoInf ButPrev ButNext"_s},
            {u"FormListAlt"_s, list + u"MemoInf ButPrev ButNext"_s},
            {u"FormListQuality"_s, list + u"MemoInf ButPrev ButAnswers ButExpToWord ButNext ButNextCompact"_s},
            {u"FormMain"_s, u"TBarMera ButRunNumer EdA ChBLowerBetter EdB ButPrev CBoxStep ButNext"_s},
            {u"FormSolQ"_s, u"TBarMera01 TBarMera02 TBarMera03 TBarMera04 TBarMera12 TBarMera13 TBarMera14 "
                            u"TBarMera23 TBarMera24 TBarMera34 ButPrev MemoInf ButNext"_s},
            {u"FormFinal"_s, u"MResult ButPrev ButAnalysis ButExpToWordShort ButExpToWordFull"_s},
        };
        for (const auto& [screen, order] : rows) {
            QWidget* found = this->screen(screen);
            QStringList visited;
            for (QWidget* w = found->nextInFocusChain(); w != found; w = w->nextInFocusChain()) {
                if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(found) && w->isEnabled())
                    visited << w->objectName();
            }
            // The chain is a ring: read it from the first control on.
            const qsizetype first = visited.indexOf(order.section(u' ', 0, 0));
            QVERIFY(first >= 0);
            QCOMPARE((visited.mid(first) + visited.first(first)).join(u' '), order);
        }
    }

    // Enter presses the button that has the focus, as on Windows (on two kinds of screen).
    void testEnterPressesTheFocusedButton()
    {
        auto* next = child<QPushButton>(m_wizard->FormInit, u"ButNext"_s);
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        auto* insert = child<QPushButton>(m_wizard->FormListProblem, u"ButInsert"_s);
        insert->setFocus();
        QTest::keyClick(insert, Qt::Key_Enter);
        QVERIFY(child<QWidget>(m_wizard->FormListProblem, u"GEdit"_s)->isVisible());
    }

    void testGeometryOfEveryScreen()
    {
        for (WizardScreen* s : m_wizard->screens()) {
            QCOMPARE(s->size(), QSize(792, 573));
            QCOMPARE(s->minimumSize(), s->maximumSize());
            const Qt::WindowFlags flags = s->windowFlags();
            QVERIFY(flags.testFlags(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                                    Qt::WindowSystemMenuHint | Qt::CustomizeWindowHint) &&
                    !flags.testFlag(Qt::WindowMaximizeButtonHint));
            s->show();
            QVERIFY(QTest::qWaitForWindowExposed(s));
            const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
            QVERIFY2((s->frameGeometry().center() - centre).manhattanLength() <= 2, qPrintable(s->objectName()));
        }
    }

    // The intro's text and picture; "Продолжить" makes the data folder and binds the
    // default problem file, which it does not create; "Вернуться" comes back.
    void testIntroAndTheWayToTheProblemList()
    {
        auto* memo = child<QPlainTextEdit>(m_wizard->FormInit, u"MemoInf"_s);
        QVERIFY(memo->isReadOnly());
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.mid(0, 3), (QStringList{u"\"Оптивар 2009 R2\" - персональная система "_s,
                                               u"поддержки принятия решений."_s, QString()}));
        QCOMPARE(lines.last(), u"\"Продолжить\".  "_s);
        QVERIFY(lines.contains(u"выбора, выбор \"доброго молодца\" на развилке трех  дорог : на лево "_s));
        auto* picture = child<QWidget>(m_wizard->FormInit, u"Picture"_s);
        QCOMPARE(picture->size(), QSize(285, 347));
        const QImage image = picture->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 10, "the picture is drawn, not blank");

        click(m_wizard->FormInit, u"ButNext"_s);
        QVERIFY(m_wizard->FormListProblem->isVisible() && !m_wizard->FormInit->isVisible());
        QCOMPARE(ComUnit::ProblemIni.path(), datDir() + u"/Задача.qzr"_s);
        QVERIFY(!QFileInfo::exists(ComUnit::ProblemIni.path()));
        click(m_wizard->FormListProblem, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormInit);
        QVERIFY(m_wizard->FormInit->isVisible() && !m_wizard->FormListProblem->isVisible());
    }

    void testProblemListFailureIsShownAndTheListStaysEmpty()
    {
        TestSupport::writeBytes(datDir(), "a file where the data folder should be");
        answer(Button::Ok);
        click(m_wizard->FormInit, u"ButNext"_s);
        QCOMPARE(boxes().size(), 1);
        QVERIFY2(boxes().at(0).startsWith(u"error | Оптивар | "_s) && boxes().at(0).endsWith(u'.'),
                 qPrintable(boxes().at(0)));
        QCOMPARE(m_wizard->FormListProblem->grid()->Count(), 0);
    }

    void testClosingAnyScreenAsks_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<Button>("answer");
        for (const QString& s : {u"FormInit"_s, u"FormListProblem"_s, u"FormListAlt"_s, u"FormListQuality"_s,
                                 u"FormMain"_s, u"FormSolQ"_s, u"FormFinal"_s}) {
            QTest::addRow("%s, no", qPrintable(s)) << s << Button::No;
            QTest::addRow("%s, yes", qPrintable(s)) << s << Button::Yes;
        }
    }

    void testClosingAnyScreenAsks()
    {
        QFETCH(QString, screen);
        QFETCH(Button, answer);
        WizardScreen* window = this->screen(screen);
        window->show();
        QSignalSpy quit(m_wizard.get(), &Wizard::quitRequested);
        this->answer(answer);
        QCOMPARE(window->close(), answer == Button::Yes);
        QCOMPARE(boxes(), QStringList{u"question | Вопрос | Закончить работу с программой \"Оптивар\" ?"_s});
        QCOMPARE(quit.size(), answer == Button::Yes ? 1 : 0);
        QCOMPARE(window->isVisible(), answer == Button::No);
    }

    // A full stop is added after a letter or a character sorting after it, not after "!" or "-".
    void testErrorText()
    {
        const std::pair<QString, QString> rows[] = {{u"File not found"_s, u"File not found."_s},
                                                    {u"a/"_s, u"a/."_s},
                                                    {u"Ошибка копирования файла."_s, u"Ошибка копирования файла."_s},
                                                    {u"Ошибка !"_s, u"Ошибка !"_s},
                                                    {u"a-"_s, u"a-"_s},
                                                    {QString(), QString()}};
        for (const auto& [message, shown] : rows)
            QCOMPARE(ErrorBox::boxText(message), shown);
    }

    // A handler's failure, a file error or any other, ends it in the one error box.
    void testGuardedShowsErrorsInTheOneBox()
    {
        answer(Button::Ok);
        answer(Button::Ok);
        int runs = 0;
        QVERIFY(ErrorBox::guarded(nullptr, [&] { ++runs; }));
        QVERIFY(!ErrorBox::guarded(nullptr, [] { throw OptivarError::writeFailed(u"x"_s); }));
        QVERIFY(!ErrorBox::guarded(nullptr, [] { throw std::runtime_error("boom"); }));
        QCOMPARE(runs, 1);
        QCOMPARE(boxes(), (QStringList{u"error | Оптивар | Unable to write to x."_s, u"error | Оптивар | boom."_s}));
    }

    // Scripts destroyed out of order, as when a failed test's clean-up leaves its own
    // to the next test's start: the one still alive answers, never a real box.
    void testScriptsOutOfOrderNeverBringBackTheRealBoxes()
    {
        auto first = std::make_unique<ScriptedDialogs>();
        ScriptedDialogs second;
        first.reset();
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"?"_s));
        QCOMPARE(second.unexpected().size(), 1);
    }

    // A real box, not the script: its title and buttons, and an entry of an editor's context menu.
    void testQtTextsAreRussian()
    {
        RealDialogs real;
        QStringList seen; // the box's title and buttons
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answer.stop();
                seen << box->windowTitle();
                for (const QAbstractButton* button : box->buttons())
                    seen << button->text().remove(u'&');
                box->button(QMessageBox::No)->click();
            }
        });
        answer.start(10);
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"Закончить работу с программой \"Оптивар\" ?"_s));
        seen.sort();
        QCOMPARE(seen, (QStringList{u"Вопрос"_s, u"Да"_s, u"Нет"_s}));
        QLineEdit line(u"Квартира"_s); // and an editor's context menu
        const std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
        QVERIFY(menu->actions().constLast()->text().contains(QRegularExpression(u"[А-Яа-я]"_s)));
    }
};

GUITEST_MAIN(TestWizard)
#include "test_wizard.moc"
