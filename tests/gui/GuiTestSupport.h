#pragma once

// Shared by the GUI tests: a fresh current folder per test, scripted answers for
// every message box, and reading the real widgets of a screen.

#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"
#include "storage/ui/TFormListProblem.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <QScopeGuard>

#include <memory>

namespace GuiTest {

/// A temporary folder made the current folder for one test, with the dialog script.
class Session
{
public:
    Session() : m_previousDir(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~Session() { QDir::setCurrent(m_previousDir); }
    Q_DISABLE_COPY_MOVE(Session)

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString datDir() const { return m_dir.path() + QStringLiteral("/DAT"); }
    QString problemPath(const QString& name) const { return datDir() + u'/' + name + QStringLiteral(".qzr"); }
    QString templatePath(const QString& name) const { return datDir() + u'/' + name + QStringLiteral(".qzp"); }
    ScriptedDialogs& dialogs() { return m_dialogs; }

    /// Keeps a picture of a screen beside the test's files, for a check that failed.
    void keepScreenshot(QWidget* screen, const QString& name) const
    {
        if (screen)
            screen->grab().save(m_dir.filePath(name + QStringLiteral(".png")));
    }

    /// After a failed check: a picture of every screen, named by its object name,
    /// and the folder kept (its path goes to the test's output) so they can be seen.
    void keepFailureScreens(const QList<QWidget*>& screens)
    {
        for (QWidget* screen : screens)
            keepScreenshot(screen, screen ? screen->objectName() : QString());
        m_dir.setAutoRemove(false);
        qWarning("Pictures of the screens are kept in %s", qPrintable(m_dir.path()));
    }

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    ScriptedDialogs m_dialogs;
};

/// The child of a screen with this object name, of this type.
template <typename T> T* child(QWidget* screen, const QString& name)
{
    return screen ? screen->findChild<T*>(name) : nullptr;
}

/// Types text into a widget one character at a time, as a keyboard would (any script).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const bool ascii = c.unicode() < 128 && c.isLetterOrNumber();
        const Qt::Key key = ascii ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

inline QString describe(const QList<ScriptedDialogs::Call>& calls)
{
    QStringList lines;
    for (const auto& call : calls)
        lines << call.title + QStringLiteral(": ") + call.text;
    return lines.join(u'\n');
}

} // namespace GuiTest

/// In cleanup(): every queued answer was used and no box came unasked.
#define GUITEST_CHECK_DIALOGS(session)                                                                                 \
    do {                                                                                                               \
        QVERIFY2((session).dialogs().unexpected().isEmpty(),                                                           \
                 qPrintable((session).dialogs().unexpected().join(QLatin1Char('\n'))));                                \
        QCOMPARE((session).dialogs().pending(), 0);                                                                    \
    } while (false)

namespace GuiTest {

/// Clicks a button of a screen as a user would; a user can click only a button
/// that is there and enabled.
inline void click(QWidget* screen, const QString& button)
{
    auto* b = child<QPushButton>(screen, button);
    QVERIFY2(b && b->isEnabled(), qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

/// Writes the problem file and goes the road to its criteria screen: intro,
/// problem list (the problem is the only one), alternatives.
inline void openCriteria(Session& session, Wizard& wizard, const QString& problemPath, const QByteArray& problem)
{
    QDir().mkpath(session.datDir());
    QFile file(problemPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(problem), problem.size());
    file.close();
    click(wizard.FormInit, QStringLiteral("ButNext"));
    click(wizard.FormListProblem, QStringLiteral("ButNext"));
    click(wizard.FormListAlt, QStringLiteral("ButNext"));
    QCOMPARE(wizard.current(), wizard.FormListQuality);
}

/// The start of a test on the wizard's road: the user's locale Russian, a fresh
/// data folder as the current folder, the shared state as at start-up, and a
/// started wizard on the intro screen.
inline void startRoad(std::unique_ptr<Session>& session, std::unique_ptr<Wizard>& wizard)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    session = std::make_unique<Session>();
    QVERIFY(session->isValid());
    ComUnit::InterfaceMode = 0;
    ComUnit::AltCount = 0;
    wizard = std::make_unique<Wizard>();
    wizard->start();
}

/// The end of such a test: pictures of the screens (and of extra windows) kept
/// when it failed, every message box answered and none unexpected, all torn down.
inline void endRoad(std::unique_ptr<Session>& session, std::unique_ptr<Wizard>& wizard,
                    const QList<QWidget*>& extra = {})
{
    if (QTest::currentTestFailed() && wizard && session) {
        const QList<WizardScreen*> screens = wizard->screens();
        session->keepFailureScreens(QList<QWidget*>(screens.begin(), screens.end()) + extra);
    }
    const auto tearDown = qScopeGuard([&] {
        wizard.reset();
        session.reset();
        QLocale::setDefault(QLocale::system());
    });
    if (session)
        GUITEST_CHECK_DIALOGS(*session);
}

} // namespace GuiTest
