#pragma once

// The fixture of every GUI test: a fresh current folder, scripted answers for
// every message box, a stand-in for the desktop, a started wizard, and the road
// to each screen as a user goes it.

#include "lists/ui/NameEdit.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "lists/ui/TStGCollect.h"
#include "report/ui/DocumentOpener.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ui/TFormListProblem.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

/// The base of every GUI test class: its init() and cleanup() run around each test,
/// and a class that has its own calls them first and last.
class GuiFixture : public QObject
{
    Q_OBJECT

public:
    /// Runs the tests of one binary under a dialog script of its own, so that a
    /// box shown outside a test's own script returns at once too; such a box
    /// fails the test it came in, or the run.
    static int run(QObject* tests, int argc, char** argv);

    /// The child of a screen with this object name, of this type.
    template <typename T> static T* child(QWidget* screen, const QString& name)
    {
        return screen ? screen->findChild<T*>(name) : nullptr;
    }
    /// Clicks a button as a user would: only one that is there and enabled.
    static void click(QWidget* screen, const QString& button);
    /// Types text one character at a time, as a keyboard would (any script).
    static void typeText(QWidget* widget, const QString& text);
    /// The text a label or a button of a screen shows; "<no name>" when there is none.
    static QString textOf(QWidget* screen, const QString& name);
    static QStringList texts(QWidget* screen, const QStringList& names);
    static TStGCollect* grid(QWidget* screen, const QString& name = QStringLiteral("StGList"));
    /// The texts of a grid's column, data rows only.
    static QStringList column(TStGCollect* grid, int col);

protected:
    QString datDir() const { return m_dir->path() + QStringLiteral("/DAT"); }
    QString problemPath(const QString& name = QStringLiteral("Дом")) const
    {
        return datDir() + u'/' + name + QStringLiteral(".qzr");
    }
    /// Writes a file of the data folder, making the folder first.
    void writeDat(const QString& fileName, const QByteArray& bytes) const;
    QByteArray problemBytes() const { return TestSupport::readBytes(problemPath()); }
    /// The bytes of one section of the problem file, its header line included.
    QByteArray section(const QByteArray& name) const;
    /// The judgement stored under key in the problem file, -100 when there is none.
    int stored(const QString& key) const
    {
        return IniFile(problemPath()).readInteger(ProblemKeys::JudgementSection, key, -100);
    }

    void answer(Dialogs::Button button) { m_dialogs->answer(button); }
    /// Every box shown so far, each as "kind | title | text".
    QStringList boxes() const;
    InterceptedOpener& opener() { return *m_opener; }

    /// The road of a decision for the problem "Дом", written with these bytes:
    /// intro, problem list (the problem is the only one), alternatives, ...
    void openAlternatives(const QByteArray& problem);
    /// ... criteria (the notice for more than five alternatives answered) ...
    void openCriteria(const QByteArray& problem);
    /// ... the step-by-step dialog or the compact screen ...
    void openStepDialog(const QByteArray& problem);
    void openCompact(const QByteArray& problem);
    /// ... and the results, past the last step or page, changing nothing.
    void showResults(const QByteArray& problem, bool compact = false);

    /// Adds an item to a list screen and names it by typing.
    void addItem(QWidget* screen, const QString& name);
    /// A folder where the problem file was: the file can no longer be replaced. The error box is answered.
    void makeStoresFail();
    /// The line of a screen after an export names the document, readable whole, and its link opens the folder.
    void checkNotice(QWidget* screen, const QString& path);

    std::unique_ptr<Wizard> m_wizard;

protected Q_SLOTS:
    void init();
    void cleanup();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<InterceptedOpener> m_opener;
    qsizetype m_strayBefore = 0;
};

/// Four alternatives (Налево, Направо, Прямо, Назад) under three criteria (Цена,
/// Качество, Срок): 3 steps of criteria, then 6 per criterion; no judgements.
QByteArray houseProblem();
/// A list section of count items named "Элемент 0", "Элемент 1", ...
QByteArray listSection(const char* section, const char* prefix, int count, bool withCount = true);
/// Sections Alt and Qual of such items.
QByteArray problemWith(int alternatives, int criteria);

/// main() of a GUI test binary: every test under the dialog script (GuiFixture::run).
#define GUITEST_MAIN(TestObject)                                                                                       \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        TestObject tc;                                                                                                 \
        return GuiFixture::run(&tc, argc, argv);                                                                       \
    }
