#include "compare/ui/TrackBar.h"

#include "compare/Scale.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(Scale::MinPosition, Scale::MaxPosition);
    setSingleStep(1);
    setPageStep(1);
    setTickInterval(1);
    setTickPosition(QSlider::TicksBelow);
    setValue(Scale::MinPosition);
}

void TrackBar::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    // Styles draw the frame only after a focus change by the keyboard; a click
    // gives the keys to the bar as well, so it shows then too.
    frame.state |= QStyle::State_KeyboardFocusChange;
    frame.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
