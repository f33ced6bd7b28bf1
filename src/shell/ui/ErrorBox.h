#pragma once

#include "storage/OptivarError.h"

#include <QString>

#include <exception>

class QWidget;

/// The application's one error box: every failure of a file operation inside a
/// screen's handler ends that handler and lands here; the program goes on on the
/// same screen.
namespace ErrorBox {

/// The application title, the caption of the box.
inline constexpr char16_t Caption[] = u"Оптивар";

/// The text the box shows for an error message: a full stop is added when the
/// last character sorts after "." (so "…!" or "…)" end with one too).
QString boxText(const QString& message);

/// Shows the box (stop icon, OK) through the dialog seam.
void show(QWidget* parent, const QString& message);

/// Runs a handler; an error it throws is shown in the box. True when it ran through.
template <typename Handler> bool guarded(QWidget* parent, Handler&& handler)
{
    try {
        handler();
        return true;
    } catch (const OptivarError& e) {
        show(parent, e.message());
    } catch (const std::exception& e) {
        show(parent, QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace ErrorBox
