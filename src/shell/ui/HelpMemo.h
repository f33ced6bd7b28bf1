#pragma once

#include <QPlainTextEdit>

/// The read-only help text of a screen, shown line by line as written.
class HelpMemo final : public QPlainTextEdit
{
    Q_OBJECT

public:
    /// pixelSize: the text height; the lines were written for a narrow panel, so
    /// a condensed face with Cyrillic letters is used where the system has one.
    HelpMemo(const QStringList& lines, int pixelSize, QWidget* parent = nullptr);
};
