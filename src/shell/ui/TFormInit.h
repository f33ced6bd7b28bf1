#pragma once

#include "shell/ui/WizardScreen.h"

class HelpMemo;
class QPushButton;
class ForkPicture;

/// The intro screen: what the program is for, and the way in. Creating it
/// prepares the shared state (data folder, default problem file, step list);
/// it touches no file.
class TFormInit final : public WizardScreen
{
    Q_OBJECT

public:
    explicit TFormInit(QWidget* parent = nullptr);

    /// The lines of the memo, in order.
    static QStringList memoLines();

Q_SIGNALS:
    void forward();

private:
    void NextExecute();

    ForkPicture* m_picture = nullptr;
    HelpMemo* MemoInf = nullptr;
    QPushButton* ButNext = nullptr;
};
