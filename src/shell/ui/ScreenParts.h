#pragma once

#include <QRect>
#include <QString>

class QAction;
class QObject;
class QPushButton;
class QWidget;

/// The small pieces every screen is built from, named so that tests find them.
namespace ScreenParts {

/// A push button with its object name, caption and place on parent.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);

/// An action with its object name and caption.
QAction* makeAction(QObject* parent, const QString& name, const QString& caption);

} // namespace ScreenParts
