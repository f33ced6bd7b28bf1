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
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
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
