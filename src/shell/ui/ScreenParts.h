#pragma once

#include <QFrame>
#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>
#include <QStyle>

#include <optional>

class QAction;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

/// The small pieces every screen is built from, named so that tests find them.
namespace ScreenParts {

/// A named button, as a row of a screen's table of buttons.
struct Button
{
    QStringView name;
    QStringView caption;
    QRect geometry;
    QStringView toolTip = {};                         // none when empty
    std::optional<QStyle::StandardPixmap> glyph = {}; // a standard glyph before the caption
    bool glyphAfterCaption = false;                   // the glyph stands right of the caption instead
};

/// A push button with its object name, caption and place on parent.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);
/// The same for a row of a table, with its tooltip and glyph.
QPushButton* makeButton(QWidget* parent, const Button& button);

/// The wizard's way back and way on: "Вернуться" (ButPrev) with an arrow before
/// the caption and "Продолжить" (ButNext) with an arrow after it, 100 x 25 at
/// the given place; the screens that explain them give the tooltips below.
QPushButton* makeBackButton(QWidget* parent, QPoint at, QStringView toolTip = {});
QPushButton* makeOnButton(QWidget* parent, QPoint at, QStringView toolTip = {});
inline constexpr QStringView BackTip = u"Вернуться к предыдущему шагу";
inline constexpr QStringView OnTip = u"Перейти к следующему шагу";

/// A panel with its object name and frame; an empty geometry leaves its place to
/// a later layout.
QFrame* makePanel(QWidget* parent, const QString& name, const QRect& geometry = {},
                  QFrame::Shape shape = QFrame::StyledPanel);

/// A static text with its object name, centred, in a face of pixelSize pixels.
QLabel* makeText(QWidget* parent, const QString& name, int pixelSize, bool bold);

/// An action with its object name and caption, and its shortcut when given.
QAction* makeAction(QObject* parent, const QString& name, const QString& caption, const QKeySequence& shortcut = {});

} // namespace ScreenParts
