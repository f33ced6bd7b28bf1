#pragma once

#include <QSlider>

/// The track bar of a comparison: a horizontal slider from -8 to 8, one step per
/// key and per page, a tick at every position below the bar. It shows when it has
/// the keyboard focus with the style's focus frame around it, which the style
/// itself leaves out for a slider.
class TrackBar final : public QSlider
{
    Q_OBJECT

public:
    explicit TrackBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
