#pragma once

#include "evaluate/EvaluationResult.h"
#include "shell/ui/WizardScreen.h"

#include <QList>
#include <QStringList>

class ExportNotice;
class QAction;
class QCheckBox;
class QChartView;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class ResultChart;
class TFormAnalysis;

/// The results: on every showing the open problem is evaluated anew and shown as
/// text and as a bar chart. The last evaluation and the chart stay here for the
/// reports until the next showing.
class TFormFinal final : public WizardScreen
{
    Q_OBJECT

public:
    /// A mark stands this far above its bar, joined to it by a line.
    static constexpr int MarkPointerLength = 20;
    /// The bottom strip with the buttons, and the memo beside the chart.
    static constexpr int StripHeight = 50;
    static constexpr int MemoWidth = 384;

    explicit TFormFinal(QWidget* parent = nullptr);
    ~TFormFinal() override;

    /// Evaluates the open problem and refills the memo and the chart.
    void load() override;

    /// The last evaluation.
    const EvaluationResult& result() const { return m_result; }
    QChartView* chartView() const;
    /// The texts of the marks above the bars, in bar order.
    QStringList markTexts() const;
    /// Where each mark stands in the chart, in bar order.
    QList<QRectF> markRects() const;

    /// Opens the decision analysis again on the page it showed when a judgement was chosen there to revise;
    /// nothing when none was.
    void reopenAnalysis();

Q_SIGNALS:
    /// "Вернуться": CurrentStep is the last step; the comparison last used comes next.
    void back();
    /// A judgement chosen in the analysis to revise: step is its line in CompareSteps. The comparison last used
    /// opens on it.
    void revise(int step);

private:
    void PrevExecute();
    /// Opens the decision analysis of the results shown.
    TFormAnalysis* ButAnalysisClick();
    void ButExpToWordShortClick();
    void ButExpToWordFullClick();
    void exportReport(bool full);
    /// Evaluates the group of the user and the respondents, when the file holds respondents.
    void loadGroup();
    /// The memo and the chart of the user's own result, or of the group's when CheckGroup is on.
    void showResult();

    QFrame* Panel1 = nullptr;
    QPushButton* ButPrev = nullptr;
    QPushButton* ButExpToWordShort = nullptr;
    QPushButton* ButExpToWordFull = nullptr;
    QPushButton* ButAnalysis = nullptr;
    ExportNotice* STextSaved = nullptr; // under the buttons: where the last export went
    QCheckBox* CheckGroup = nullptr;    // right of it, when there are respondents
    QPlainTextEdit* MResult = nullptr;
    QFrame* Panel2 = nullptr;
    ResultChart* ChartResult = nullptr;
    QAction* Prev = nullptr;
    EvaluationResult m_result;
    /// The group's result with its memo and bars; AltTotal -1 when the file holds no respondents.
    EvaluationResult m_groupResult;
    int m_participants = 0;
    int m_analysisPage = -1; // the analysis page left for a revision, -1 for none
};
