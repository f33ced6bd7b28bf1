#include "shell/ui/WizardScreen.h"

#include "shell/ui/Dialogs.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

WizardScreen::WizardScreen(const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
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

void WizardScreen::setReadingOrder(const QList<QWidget*>& controls)
{
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

bool WizardScreen::event(QEvent* event)
{
    // Before the first showing, when every control exists: Enter presses the
    // button that has the focus, as on Windows (Qt gives buttons only the space
    // outside dialogs).
    if (event->type() == QEvent::Polish) {
        for (QPushButton* button : findChildren<QPushButton*>())
            button->setAutoDefault(true);
    }
    return QWidget::event(event);
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
