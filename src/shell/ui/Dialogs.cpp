#include "shell/ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;

namespace {

class BoxBackend final : public Dialogs::Backend
{
public:
    Dialogs::Button message(QWidget* parent, Dialogs::Kind kind, const QString& title, const QString& text) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title);
        box.setText(text);
        switch (kind) {
        case Dialogs::Kind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Dialogs::Kind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Dialogs::Kind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Dialogs::Kind::Question:
            box.setIcon(QMessageBox::Question);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        if (kind == Dialogs::Kind::Question) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Dialogs::Button::Yes;
        case QMessageBox::No:
            return Dialogs::Button::No;
        case QMessageBox::Ok:
            return Dialogs::Button::Ok;
        default:
            return Dialogs::Button::Cancel;
        }
    }

    QString fileName(QWidget* parent, Dialogs::Kind kind, const QString& title, const QString& filter) override
    {
        if (kind == Dialogs::Kind::SaveFile)
            return QFileDialog::getSaveFileName(parent, title, QString(), filter);
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }
};

BoxBackend g_boxes;
// The backends put in front by tests, the innermost last; the real boxes answer when
// there is none. Each guard takes out its own entry wherever it stands, so that one
// destroyed out of order never brings the real boxes back under a script still alive.
QList<Dialogs::Backend*> g_installed;

Dialogs::Backend* current()
{
    return g_installed.isEmpty() ? &g_boxes : g_installed.constLast();
}

QString kindName(Dialogs::Kind kind)
{
    switch (kind) {
    case Dialogs::Kind::Information:
        return u"information"_s;
    case Dialogs::Kind::Warning:
        return u"warning"_s;
    case Dialogs::Kind::Question:
        return u"question"_s;
    case Dialogs::Kind::Error:
        return u"error"_s;
    case Dialogs::Kind::Plain:
        return u"plain"_s;
    case Dialogs::Kind::OpenFile:
        return u"open file"_s;
    case Dialogs::Kind::SaveFile:
        return u"save file"_s;
    }
    return QString();
}

} // namespace

namespace Dialogs {

Backend& backend()
{
    return *current();
}

void warning(QWidget* parent, const QString& title, const QString& text)
{
    current()->message(parent, Kind::Warning, title, text);
}

void information(QWidget* parent, const QString& title, const QString& text)
{
    current()->message(parent, Kind::Information, title, text);
}

void plain(QWidget* parent, const QString& title, const QString& text)
{
    current()->message(parent, Kind::Plain, title, text);
}

void error(QWidget* parent, const QString& title, const QString& text)
{
    current()->message(parent, Kind::Error, title, text);
}

bool question(QWidget* parent, const QString& title, const QString& text)
{
    return current()->message(parent, Kind::Question, title, text) == Button::Yes;
}

QString openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return current()->fileName(parent, Kind::OpenFile, title, filter);
}

QString saveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return current()->fileName(parent, Kind::SaveFile, title, filter);
}

} // namespace Dialogs

ScriptedDialogs::ScriptedDialogs()
{
    g_installed.append(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    g_installed.removeAt(g_installed.lastIndexOf(this));
}

RealDialogs::RealDialogs()
{
    g_installed.append(&g_boxes);
}

RealDialogs::~RealDialogs()
{
    g_installed.removeAt(g_installed.lastIndexOf(&g_boxes));
}

void ScriptedDialogs::answer(Dialogs::Button button)
{
    m_answers.append(Answer{false, button, QString()});
}

void ScriptedDialogs::answerPath(const QString& path)
{
    m_answers.append(Answer{true, Dialogs::Button::Ok, path});
}

Dialogs::Button ScriptedDialogs::message(QWidget*, Dialogs::Kind kind, const QString& title, const QString& text)
{
    m_calls.append(Call{kind, title, text});
    if (m_answers.isEmpty() || m_answers.constFirst().isPath) {
        m_unexpected.append(u"unexpected dialog: "_s + kindName(kind) + u" \""_s + title + u"\": "_s + text);
        return Dialogs::Button::Cancel;
    }
    return m_answers.takeFirst().button;
}

QString ScriptedDialogs::fileName(QWidget*, Dialogs::Kind kind, const QString& title, const QString& filter)
{
    m_calls.append(Call{kind, title, filter});
    if (m_answers.isEmpty() || !m_answers.constFirst().isPath) {
        m_unexpected.append(u"unexpected dialog: "_s + kindName(kind) + u" \""_s + title + u"\""_s);
        return QString();
    }
    return m_answers.takeFirst().path;
}
