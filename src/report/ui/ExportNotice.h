#pragma once

#include <QLabel>
#include <QString>

/// The line a screen shows after an export: the saved document's name and a
/// link that opens its folder. It does not wait for the user: it clears on the
/// next key or mouse button pressed in its window (except on the line itself)
/// and when the window hides.
class ExportNotice final : public QLabel
{
    Q_OBJECT

public:
    explicit ExportNotice(QWidget* parent = nullptr);
    ~ExportNotice() override;
    Q_DISABLE_COPY_MOVE(ExportNotice)

    /// Shows where the document at path was saved.
    void showSaved(const QString& path);
    /// Takes the line away.
    void clearNotice();
    /// The document shown; empty when the line is clear.
    const QString& path() const { return m_path; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void openFolder();
    void fill();

    QString m_path;
};
