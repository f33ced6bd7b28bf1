#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QCloseEvent;

/// A window of the wizard: fixed client area, centred, no maximise button, the
/// program's caption prefix and the closing question.
class WizardScreen : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 792;
    static constexpr int ClientHeight = 573;
    static constexpr char16_t TitlePrefix[] = u"Оптивар 2009 R2 | ";
    static constexpr char16_t CloseQuestion[] = u"Закончить работу с программой \"Оптивар\" ?";

    /// caption: the screen's own caption, after the prefix.
    explicit WizardScreen(const QString& caption, QWidget* parent = nullptr);

    /// Fills the screen from the problem file; runs each time the screen is shown.
    /// A failure is thrown, not shown: the caller sends it to the error box.
    virtual void load() {}

    /// Commits an edit that is still open, as leaving the editor would.
    virtual void finishEditing() {}

Q_SIGNALS:
    /// The user closed the window and answered Yes to the closing question.
    void closeConfirmed();

protected:
    /// Tab and Shift+Tab go through these controls in this order: the order a
    /// person reads the screen in.
    void setReadingOrder(const QList<QWidget*>& controls);

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void centre();

    bool m_centred = false;
};
