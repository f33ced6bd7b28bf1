#include "shell/ui/ForkPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

ForkPicture::ForkPicture(QWidget* parent) : QWidget(parent)
{
    setFixedSize(PictureWidth, PictureHeight);
}

void ForkPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 285 x 347 canvas; the widget keeps that size, the scale keeps the proportions.
    const qreal scale = std::min(width() / qreal(PictureWidth), height() / qreal(PictureHeight));
    p.scale(scale, scale);

    const qreal horizon = 150;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(118, 166, 222));
    sky.setColorAt(1, QColor(214, 230, 246));
    p.fillRect(QRectF(0, 0, PictureWidth, horizon), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 150));
    p.drawEllipse(QPointF(228, 48), 20, 20);

    // Far hills, then the field.
    QPainterPath hills;
    hills.moveTo(0, horizon);
    hills.cubicTo(50, 118, 95, 120, 140, horizon - 6);
    hills.cubicTo(185, 112, 240, 116, PictureWidth, horizon - 4);
    hills.lineTo(PictureWidth, horizon);
    hills.closeSubpath();
    p.setBrush(QColor(120, 156, 104));
    p.drawPath(hills);
    QLinearGradient field(0, horizon, 0, PictureHeight);
    field.setColorAt(0, QColor(146, 190, 100));
    field.setColorAt(1, QColor(92, 148, 62));
    p.fillRect(QRectF(0, horizon, PictureWidth, PictureHeight - horizon), field);

    // One road from the bottom edge to the fork, three roads from there to the horizon.
    const QPointF fork(142, 238);
    const QColor road(206, 182, 132);
    p.setBrush(road);
    QPainterPath trunk;
    trunk.moveTo(92, PictureHeight);
    trunk.cubicTo(110, 300, 126, 262, fork.x() - 14, fork.y());
    trunk.lineTo(fork.x() + 14, fork.y());
    trunk.cubicTo(158, 262, 176, 300, 196, PictureHeight);
    trunk.closeSubpath();
    p.drawPath(trunk);

    auto branch = [&](QPointF end, QPointF bend, qreal farWidth) {
        QPainterPath path;
        path.moveTo(fork.x() - 13, fork.y() + 2);
        path.quadTo(bend - QPointF(6, 0), end - QPointF(farWidth, 0));
        path.lineTo(end + QPointF(farWidth, 0));
        path.quadTo(bend + QPointF(6, 0), QPointF(fork.x() + 13, fork.y() + 2));
        path.closeSubpath();
        p.drawPath(path);
    };
    branch(QPointF(22, horizon + 2), QPointF(70, 206), 3);
    branch(QPointF(142, horizon + 1), QPointF(142, 196), 2.5);
    branch(QPointF(262, horizon + 2), QPointF(214, 206), 3);

    // The stone at the fork, with three lines for the three roads.
    p.setBrush(QColor(150, 150, 144));
    p.setPen(QPen(QColor(90, 90, 86), 1.5));
    QPainterPath stone;
    stone.moveTo(124, 258);
    stone.cubicTo(122, 236, 128, 222, 142, 220);
    stone.cubicTo(156, 222, 162, 236, 160, 258);
    stone.closeSubpath();
    p.drawPath(stone);
    p.setPen(QPen(QColor(70, 70, 66), 1.2));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(132, 233 + 7 * i), QPointF(152, 233 + 7 * i));

    // Grass tufts so the field reads as one.
    p.setPen(QPen(QColor(70, 120, 48), 1.2));
    const QPointF tufts[] = {{30, 260}, {60, 310}, {230, 270}, {250, 320}, {205, 236}, {70, 230}, {20, 330}};
    for (QPointF t : tufts) {
        p.drawLine(t, t + QPointF(-3, -7));
        p.drawLine(t, t + QPointF(0, -9));
        p.drawLine(t, t + QPointF(3, -7));
    }
}
