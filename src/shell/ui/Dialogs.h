#pragma once

#include <QList>
#include <QString>

#include <memory>

class QWidget;

/// The one door to modal message boxes and file dialogs. Screens ask here; tests
/// put a ScriptedDialogs in front of it so that no box ever waits for a person.
namespace Dialogs {

enum class Kind { Information, Warning, Question, Error, Plain, OpenFile, SaveFile };
enum class Button { Ok, Cancel, Yes, No };

/// What answers a dialog. The default shows the real box.
class Backend
{
public:
    virtual ~Backend() = default;
    virtual Button message(QWidget* parent, Kind kind, const QString& title, const QString& text) = 0;
    /// The chosen path, or an empty string when the user cancels.
    virtual QString fileName(QWidget* parent, Kind kind, const QString& title, const QString& filter) = 0;
};

/// "Ошибка" with a warning icon and OK: a refused step.
void warning(QWidget* parent, const QString& title, const QString& text);
/// An information icon and OK: a notice.
void information(QWidget* parent, const QString& title, const QString& text);
/// No icon and OK.
void plain(QWidget* parent, const QString& title, const QString& text);
/// A stop icon and OK.
void error(QWidget* parent, const QString& title, const QString& text);
/// Yes and No with a question icon, No the default; true for Yes.
bool question(QWidget* parent, const QString& title, const QString& text);
QString openFileName(QWidget* parent, const QString& title, const QString& filter);
QString saveFileName(QWidget* parent, const QString& title, const QString& filter);

/// The backend in use now.
Backend& backend();

} // namespace Dialogs

/// A dialog backend for tests: hands out queued answers in order and records every
/// call. With its queue empty it records the call as unexpected and answers
/// Cancel (an empty path) at once, so that a box a test did not expect never
/// waits for a person. Installing it is scoped: while it lives it answers, unless
/// another guard is put in front of it; destroyed, it leaves the others as they
/// are, in whatever order they go. The GUI tests run under one for their whole life.
class ScriptedDialogs final : public Dialogs::Backend
{
public:
    struct Call
    {
        Dialogs::Kind kind;
        QString title;
        QString text;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    Q_DISABLE_COPY_MOVE(ScriptedDialogs)

    /// Queues the answer of the next message box.
    void answer(Dialogs::Button button);
    /// Queues the answer of the next file dialog.
    void answerPath(const QString& path);

    const QList<Call>& calls() const { return m_calls; }
    /// Descriptions of the calls that found the queue empty.
    const QStringList& unexpected() const { return m_unexpected; }
    qsizetype pending() const { return m_answers.size(); }
    /// Forgets the calls recorded so far (the queue stays).
    void clearCalls() { m_calls.clear(); }

    Dialogs::Button message(QWidget* parent, Dialogs::Kind kind, const QString& title, const QString& text) override;
    QString fileName(QWidget* parent, Dialogs::Kind kind, const QString& title, const QString& filter) override;

private:
    struct Answer
    {
        bool isPath = false;
        Dialogs::Button button = Dialogs::Button::Cancel;
        QString path;
    };

    QList<Answer> m_answers;
    QList<Call> m_calls;
    QStringList m_unexpected;
};

/// For a test of the real boxes, which runs under a ScriptedDialogs like every
/// GUI test: while it lives, and nothing is put in front of it, the real boxes answer.
class RealDialogs final
{
public:
    RealDialogs();
    ~RealDialogs();
    Q_DISABLE_COPY_MOVE(RealDialogs)
};
