#include "shell/ui/WizardScreen.h"

#include "shell/ui/Dialogs.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

WizardScreen::WizardScreen(const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QString::fromUtf16(TitlePrefix) + caption);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    centre();
}

void WizardScreen::centre()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The window frame, known once the window is shown, is what sits centred.
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void WizardScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        centre();
    }
}

void WizardScreen::closeEvent(QCloseEvent* event)
{
    if (Dialogs::question(this, u"Вопрос"_s, QString::fromUtf16(CloseQuestion))) {
        event->accept();
        Q_EMIT closeConfirmed();
    } else {
        event->ignore();
    }
}
