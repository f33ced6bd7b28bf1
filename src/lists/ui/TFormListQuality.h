#pragma once

#include "lists/ui/ItemListScreen.h"

class ExportNotice;
class QPushButton;

/// The criteria of the open problem: the qualities by which the alternatives are
/// compared. Going on rebuilds the judgements for the lists as they now stand.
class TFormListQuality final : public ItemListScreen
{
    Q_OBJECT

public:
    explicit TFormListQuality(QWidget* parent = nullptr);

Q_SIGNALS:
    /// The judgements are rebuilt; the step-by-step comparison comes next.
    void stepByStepChosen();
    /// The judgements are rebuilt; the compact comparison comes next.
    void compactChosen();

private:
    void ButNextClick();
    void ButNextCompactClick();
    void ButExpToWordClick();
    /// Opens the window in which a respondent's answers to the printed questionnaire are typed back.
    void ButAnswersClick();
    /// The count of criteria allows a questionnaire; otherwise says so. Then the list is stored and the
    /// judgements rebuilt, so the questions are numbered as the questionnaire prints them.
    bool prepareQuestionnaire();
    void rebuildJudgements();

    QPushButton* ButExpToWord = nullptr;
    QPushButton* ButAnswers = nullptr;
    QPushButton* ButNextCompact = nullptr;
    ExportNotice* STextSaved = nullptr; // under the export button: where the questionnaire went
};
