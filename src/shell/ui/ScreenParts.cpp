#include "shell/ui/ScreenParts.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace ScreenParts {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QPushButton* makeButton(QWidget* parent, const Button& button)
{
    QPushButton* made = makeButton(parent, button.name.toString(), button.caption.toString(), button.geometry);
    if (!button.toolTip.isEmpty())
        made->setToolTip(button.toolTip.toString());
    if (button.glyphAfterCaption)
        made->setLayoutDirection(Qt::RightToLeft);
    if (button.glyph)
        made->setIcon(made->style()->standardIcon(*button.glyph));
    return made;
}

QPushButton* makeBackButton(QWidget* parent, QPoint at, QStringView toolTip)
{
    return makeButton(parent, {u"ButPrev", u"Вернуться", QRect(at, QSize(100, 25)), toolTip, QStyle::SP_ArrowLeft});
}

QPushButton* makeOnButton(QWidget* parent, QPoint at, QStringView toolTip)
{
    return makeButton(parent,
                      {u"ButNext", u"Продолжить", QRect(at, QSize(100, 25)), toolTip, QStyle::SP_ArrowRight, true});
}

QFrame* makePanel(QWidget* parent, const QString& name, const QRect& geometry, QFrame::Shape shape)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(shape);
    if (!geometry.isEmpty())
        panel->setGeometry(geometry);
    return panel;
}

QLabel* makeText(QWidget* parent, const QString& name, int pixelSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont face = label->font();
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    label->setFont(face);
    return label;
}

QAction* makeAction(QObject* parent, const QString& name, const QString& caption, const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

} // namespace ScreenParts
