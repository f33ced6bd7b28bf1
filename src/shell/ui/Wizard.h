#pragma once

// The comparison and results screens are complete here: callers compare and
// pass them as the WizardScreen they are.
#include "compare/ui/TFormMain.h"
#include "compare/ui/TFormSolQ.h"
#include "evaluate/ui/TFormFinal.h"

#include <QList>
#include <QObject>

#include <memory>
#include <vector>

class TFormInit;
class TFormListAlt;
class TFormListProblem;
class TFormListQuality;
class TFormStart;
class WizardScreen;

/// The program's windows, created once at start-up and kept for the whole run,
/// and the moves between them: one screen visible at a time.
class Wizard final : public QObject
{
    Q_OBJECT

public:
    /// The application's title, which captions its error box too, the face of
    /// every screen and Qt's own texts in Russian. Needs the QApplication.
    static void prepareApplication();

    /// Creates the eight screens in their fixed order; none is shown yet.
    Wizard();
    ~Wizard() override;

    /// Shows the intro screen.
    void start();
    /// The screens in the order they were created.
    QList<WizardScreen*> screens() const;
    /// The visible screen.
    WizardScreen* current() const { return m_current; }
    /// Hides from and shows to, which first loads what it shows.
    void switchTo(WizardScreen* from, WizardScreen* to);

    TFormInit* FormInit = nullptr;
    TFormListAlt* FormListAlt = nullptr;
    TFormMain* FormMain = nullptr;
    TFormStart* FormStart = nullptr;
    TFormListQuality* FormListQuality = nullptr;
    TFormFinal* FormFinal = nullptr;
    TFormListProblem* FormListProblem = nullptr;
    TFormSolQ* FormSolQ = nullptr;

Q_SIGNALS:
    /// The user answered Yes to the closing question.
    void quitRequested();

private:
    template <typename Screen> Screen* create(std::unique_ptr<Screen> screen);

    std::vector<std::unique_ptr<WizardScreen>> m_screens;
    WizardScreen* m_current = nullptr;
};
