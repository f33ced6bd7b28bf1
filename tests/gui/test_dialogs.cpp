// The dialog seam, the application error box and the closing question.
#include "shell/ui/Dialogs.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/Wizard.h"
#include "shell/ui/WizardScreen.h"
#include "storage/OptivarError.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;
using Dialogs::Kind;

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testScriptHandsOutAnswersInOrderAndRecords()
    {
        ScriptedDialogs script;
        script.answer(Button::Yes);
        script.answer(Button::No);
        script.answerPath(u"x.docx"_s);
        QVERIFY(Dialogs::question(nullptr, u"Вопрос"_s, u"Первый ?"_s));
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"Второй ?"_s));
        QCOMPARE(Dialogs::saveFileName(nullptr, u"Сохранить"_s, u"*.docx"_s), u"x.docx"_s);
        QCOMPARE(script.pending(), 0);
        QCOMPARE(script.calls().size(), 3);
        QCOMPARE(script.calls().at(1).text, u"Второй ?"_s);
        QCOMPARE(script.calls().at(2).kind, Kind::SaveFile);
        QVERIFY(script.unexpected().isEmpty());
    }

    void testEmptyQueueIsRecordedAndCancels()
    {
        ScriptedDialogs script;
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"Удалить задачу ?"_s));
        Dialogs::warning(nullptr, u"Ошибка"_s, u"Нельзя."_s);
        QCOMPARE(Dialogs::openFileName(nullptr, u"Открыть"_s, QString()), QString());
        QCOMPARE(script.unexpected().size(), 3);
        QVERIFY(script.unexpected().at(0).contains(u"Удалить задачу ?"_s));
        QCOMPARE(script.calls().at(1).kind, Kind::Warning);
    }

    void testAnswerOfTheWrongSortIsUnexpected()
    {
        ScriptedDialogs script;
        script.answerPath(u"a"_s);
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"?"_s));
        QCOMPARE(script.unexpected().size(), 1);
        QCOMPARE(script.pending(), 1); // the path waits for its file dialog
        QCOMPARE(Dialogs::openFileName(nullptr, u"Открыть"_s, QString()), u"a"_s);
    }

    void testGuardsNestAndRestore()
    {
        ScriptedDialogs outer;
        {
            ScriptedDialogs inner;
            inner.answer(Button::Yes);
            QVERIFY(Dialogs::question(nullptr, u"Вопрос"_s, u"?"_s));
            QVERIFY(outer.calls().isEmpty());
        }
        outer.answer(Button::Yes);
        QVERIFY(Dialogs::question(nullptr, u"Вопрос"_s, u"?"_s));
        QCOMPARE(outer.calls().size(), 1);
    }

    void testErrorText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"File not found"_s << u"File not found."_s;
        QTest::newRow("digit") << u"I/O error 13"_s << u"I/O error 13."_s;
        QTest::newRow("path") << u"Unable to write to DAT/Дом.qzr"_s << u"Unable to write to DAT/Дом.qzr."_s;
        QTest::newRow("slash sorts after the stop") << u"a/"_s << u"a/."_s;
        QTest::newRow("full stop kept") << u"Ошибка копирования файла."_s << u"Ошибка копирования файла."_s;
        QTest::newRow("exclamation sorts before") << u"Ошибка !"_s << u"Ошибка !"_s;
        QTest::newRow("bracket sorts before") << u"(5)"_s << u"(5)"_s;
        QTest::newRow("minus sorts before") << u"a-"_s << u"a-"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void testErrorText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBox::boxText(message), shown);
    }

    void testGuardedShowsErrorsInTheOneBox_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("file error") << 0 << u"Unable to write to x."_s;
        QTest::newRow("other exception") << 1 << u"boom."_s;
    }

    void testGuardedShowsErrorsInTheOneBox()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        ScriptedDialogs script;
        script.answer(Button::Ok);
        const bool ran = ErrorBox::guarded(nullptr, [&] {
            if (which == 0)
                throw OptivarError::writeFailed(u"x"_s);
            throw std::runtime_error("boom");
        });
        QVERIFY(!ran);
        QCOMPARE(script.calls().size(), 1);
        QCOMPARE(script.calls().at(0).kind, Kind::Error);
        QCOMPARE(script.calls().at(0).title, u"Оптивар"_s);
        QCOMPARE(script.calls().at(0).text, text);
    }

    void testGuardedQuietWhenAllIsWell()
    {
        ScriptedDialogs script;
        int runs = 0;
        QVERIFY(ErrorBox::guarded(nullptr, [&] { ++runs; }));
        QCOMPARE(runs, 1);
        QVERIFY(script.calls().isEmpty());
    }

    void testClosingQuestion_data()
    {
        QTest::addColumn<Button>("answer");
        QTest::newRow("no keeps the window") << Button::No;
        QTest::newRow("yes ends the program") << Button::Yes;
    }

    void testClosingQuestion()
    {
        QFETCH(Button, answer);
        ScriptedDialogs script;
        WizardScreen screen(u"проба"_s);
        QSignalSpy confirmed(&screen, &WizardScreen::closeConfirmed);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        script.answer(answer);
        const bool closed = screen.close();
        QCOMPARE(script.calls().size(), 1);
        QCOMPARE(script.calls().at(0).kind, Kind::Question);
        QCOMPARE(script.calls().at(0).title, u"Вопрос"_s);
        QCOMPARE(script.calls().at(0).text, u"Закончить работу с программой \"Оптивар\" ?"_s);
        QCOMPARE(closed, answer == Button::Yes);
        QCOMPARE(screen.isVisible(), answer == Button::No);
        QCOMPARE(confirmed.size(), answer == Button::Yes ? 1 : 0);
        QVERIFY(script.unexpected().isEmpty());
    }

    void testQtTextsAreRussian()
    {
        // The program's own start-up, then a real box: no scripted backend.
        Wizard::prepareApplication();
        QString title;
        QStringList buttons;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            title = box->windowTitle();
            for (const QAbstractButton* button : box->buttons())
                buttons.append(button->text().remove(u'&'));
            box->button(QMessageBox::No)->click();
        });
        answer.start(10);
        QVERIFY(!Dialogs::question(nullptr, u"Вопрос"_s, u"Закончить работу с программой \"Оптивар\" ?"_s));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"Да"_s, u"Нет"_s}));
        QCOMPARE(title, u"Вопрос"_s);

        // Every entry of the editors' context menus.
        QLineEdit line(u"Квартира"_s);
        QPlainTextEdit memo(u"Квартира"_s);
        const QRegularExpression cyrillic(u"[А-Яа-я]"_s);
        for (const auto& menu : {std::unique_ptr<QMenu>(line.createStandardContextMenu()),
                                 std::unique_ptr<QMenu>(memo.createStandardContextMenu())}) {
            QVERIFY(!menu->actions().isEmpty());
            for (const QAction* action : menu->actions())
                QVERIFY2(action->isSeparator() || action->text().contains(cyrillic), qPrintable(action->text()));
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
