#pragma once

#include "report/TFormWord.h"

#include <QList>
#include <QString>

class QUrl;
class QWidget;

/// Hands a saved document to the user: the desktop's default application for
/// its type opens it; when none does, a notice tells the user where it is.
namespace DocumentOpener {

/// False when nothing could open the document; the notice was shown then.
bool open(QWidget* parent, const QString& path);

/// The notice's text for a document nothing could open.
QString notOpenedText(const QString& path);

/// Shows a folder in the desktop's file manager; false when nothing could, and
/// a notice named the folder then.
bool openFolder(QWidget* parent, const QString& folder);

/// Where an export of the open problem goes: "Отчеты" in the data folder,
/// named after the problem file, opened through open() with parent as the
/// notice's parent.
TFormWord::Destination destination(QWidget* parent, TFormWord::Kind kind);

} // namespace DocumentOpener

/// For tests: while alive it stands in for the desktop, so that no test starts
/// another program. It records every document and folder it is asked to open
/// and answers as told. The desktop comes back when it is destroyed.
class InterceptedOpener final
{
public:
    explicit InterceptedOpener(bool opens = true);
    ~InterceptedOpener();
    Q_DISABLE_COPY_MOVE(InterceptedOpener)

    /// Whether later documents "open".
    void setOpens(bool opens) { m_opens = opens; }
    /// The paths asked for, in order.
    const QList<QString>& opened() const { return m_opened; }

private:
    friend bool DocumentOpener::open(QWidget* parent, const QString& path);
    friend bool DocumentOpener::openFolder(QWidget* parent, const QString& folder);
    bool launch(const QUrl& url);

    bool m_opens = true;
    QList<QString> m_opened;
    InterceptedOpener* m_previous = nullptr;
};
