#pragma once

#include "evaluate/AnalysisResult.h"

#include <QDialog>
#include <QStringList>

#include <optional>
#include <utility>

class IniFile;
class ProblemData;
struct EigenvectorResult;
struct RobustnessResult;
class QChart;
class QChartView;
class QComboBox;
class QFrame;
class QHorizontalBarSeries;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QValueAxis;
template <typename T> class QFutureWatcher;

/// The decision analysis of the results on screen: the weights and local priorities, the consistency of every
/// matrix with the judgements to revisit, and how the best choice depends on each criterion's weight.
///
/// A window-modal child of the results screen, deleted when closed: the analysis describes the evaluation the
/// results screen shows, so that screen stays as it is while the window is open, and closing the window just
/// returns to it, with no closing question.
class TFormAnalysis final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char16_t Caption[] = u"анализ решения";
    /// The tabs, in order.
    static constexpr char16_t WeightsPage[] = u"Веса и приоритеты";
    static constexpr char16_t ConsistencyPage[] = u"Согласованность";
    static constexpr char16_t SensitivityPage[] = u"Чувствительность";
    static constexpr char16_t RobustnessPage[] = u"Надёжность";

    explicit TFormAnalysis(AnalysisResult analysis, QWidget* parent = nullptr);
    ~TFormAnalysis() override;

    const AnalysisResult& analysis() const { return m_analysis; }

    /// Adds the page "Участники" when file holds respondents; the page goes when the last of them is deleted.
    void addParticipantsPage(IniFile& file);

    /// Shows on the sensitivity page how the priorities run with the weight of criterion k.
    void showCriterion(int k);

    /// Adds how sure the choice is: the priorities by the eigenvector method on the first page, and the page
    /// "Надёжность", whose draws run off the GUI thread while the page says so. problem is the one analysed.
    void showHowSure(const ProblemData& problem);
    /// Whether the draws of the page "Надёжность" are still running.
    bool robustnessPending() const;

    /// The index of the line of steps whose pair is key, -1 when there is none.
    static int stepOf(const QStringList& steps, const QString& key);

Q_SIGNALS:
    /// A judgement to revisit was chosen; the window has closed. step: its line in CompareSteps.
    void revisitRequested(int step);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOverParent();
    void buildWeightsPage();
    void buildConsistencyPage();
    void buildSensitivityPage();
    void buildEigenvectorPart(const EigenvectorResult& eigenvector);
    void buildRobustnessPage(const ProblemData& problem);
    void showRobustness(const std::optional<RobustnessResult>& robustness);
    void revisit(int row);

    AnalysisResult m_analysis;
    bool m_centred = false;
    /// The judgements of the revisit table, row by row: the matrix and the judgement's place in it.
    QList<std::pair<int, int>> m_revisitRows;

    QTabWidget* Pages = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* ButClose = nullptr;
    QChartView* ChartWeights = nullptr;
    QHorizontalBarSeries* m_weightSeries = nullptr;
    QTableWidget* TableLocal = nullptr;
    QTableWidget* TableConsistency = nullptr;
    QLabel* LabelRevisit = nullptr;
    QTableWidget* TableRevisit = nullptr;
    QComboBox* CBoxCriterion = nullptr;
    QChartView* ChartSensitivity = nullptr;
    QChart* m_sensitivityChart = nullptr;
    QValueAxis* m_weightAxis = nullptr;
    QValueAxis* m_priorityAxis = nullptr;
    QLabel* LabelInterval = nullptr;
    QLabel* LabelSmallest = nullptr;
    QLabel* LabelEigenvector = nullptr;
    QLabel* LabelRobustness = nullptr;
    QChartView* ChartRobustness = nullptr;
    QFutureWatcher<std::optional<RobustnessResult>>* m_robustnessWatcher = nullptr;
};
