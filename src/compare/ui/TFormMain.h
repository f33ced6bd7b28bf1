#pragma once

#include "evaluate/ProblemData.h"
#include "shell/ui/WizardScreen.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

/// The step-by-step comparison: one pair at a time, judged on a track bar, with
/// a numeric aid and a list for jumping to any step. Every way off a step
/// stores the judgement shown first.
class TFormMain final : public WizardScreen
{
    Q_OBJECT

public:
    /// The step list drops down at most this many rows at a time.
    static constexpr int MaxDropDownRows = 24;

    explicit TFormMain(QWidget* parent = nullptr);

    /// Fills the step list from CompareSteps and shows the step CurrentStep.
    void load() override;

    /// Refills the step list with the captions of CompareSteps, read from the problem file.
    void BuildCompareSteps();
    /// Displays the step CurrentStep as the problem file holds it.
    void ShowStep();
    /// Stores the track bar's position as the judgement of the step CurrentStep.
    void SaveStep();

    /// The next showing opens step for a revision from the decision analysis: beside the present answer the
    /// one the other answers of its matrix agree on, with a button that sets it, and "К результатам" in place
    /// of the numeric aid. The revision ends when the step is left.
    void openRevision(int step);

    QChar StepKind() const { return m_stepKind; }
    const QString& NameA() const { return m_nameA; }
    const QString& NameB() const { return m_nameB; }

Q_SIGNALS:
    /// "Продолжить" on the last step: the results come next.
    void forward();
    /// "Вернуться" on the first step: the criteria come next.
    void back();
    /// "К результатам" during a revision: the step is stored, the results come next.
    void toResults();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildStepBar();
    void buildMeasure();
    void buildNumericAid();

    void NextExecute();
    void PrevExecute();
    void CBoxStepChange(int index);
    void ChangeExecute();
    void ButRunNumerClick();
    /// The key filter of both value fields; true when the key was taken over.
    bool EdAKeyPress(QLineEdit* edit, QKeyEvent* event);
    bool hasStep() const;
    void showConsistency(int position);
    void buildRevision();
    void showRevision();

    QFrame* PMove = nullptr;
    QFrame* PInfo = nullptr;
    QFrame* PA = nullptr;
    QFrame* PB = nullptr;
    QFrame* PMera = nullptr;
    QPushButton* ButNext = nullptr;
    QPushButton* ButPrev = nullptr;
    QSlider* TBarMera = nullptr;
    QLabel* STMera = nullptr;
    QAction* Next = nullptr;
    QAction* Prev = nullptr;
    QLabel* STextTop = nullptr;
    QLabel* STextA = nullptr;
    QLabel* STextB = nullptr;
    QComboBox* CBoxStep = nullptr;
    QLabel* PanA = nullptr;
    QLabel* PanB = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* ButRunNumer = nullptr;
    QLineEdit* EdA = nullptr;
    QLineEdit* EdB = nullptr;
    QCheckBox* ChBLowerBetter = nullptr; // "меньше — лучше": the smaller value is the better one
    QLabel* STextStep = nullptr;         // "Шаг 3 из 30"
    /// Under the judgement in words: the consistency of the matrix being answered, the bar's position included.
    QLabel* STextConsistency = nullptr;
    QFrame* PRevision = nullptr; // in the numeric aid's place while a step is revised
    QLabel* STextSuggested = nullptr;
    QPushButton* ButSuggested = nullptr;
    QPushButton* ButToResults = nullptr;
    int m_revisionStep = -1;
    int m_suggestedPosition = 0;

    /// The problem as the file held it when the step was shown; the bar's position goes into its pair at every
    /// move, so that the consistency follows the bar before the step is stored.
    ProblemData m_live;
    int m_liveCriterion = -1; // -1: the criteria matrix
    int m_liveFirst = -1;     // the pair's positions; -1 when the step names no pair of the problem
    int m_liveSecond = -1;

    QString m_nameA;
    QString m_nameB;
    QChar m_stepKind;
};
