#pragma once

#include <QWidget>

/// The intro screen's picture: three roads parting at a stone in an open field,
/// the choice the program helps with. Drawn, so it scales and needs no file.
class ForkPicture final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PictureWidth = 285;
    static constexpr int PictureHeight = 347;

    explicit ForkPicture(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {PictureWidth, PictureHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
