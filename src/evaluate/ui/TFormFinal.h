#pragma once

#include "evaluate/EvaluationResult.h"
#include "shell/ui/WizardScreen.h"

#include <QList>
#include <QStringList>

class QAction;
class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChart;
class QChartView;
class QFrame;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QPlainTextEdit;
class QPushButton;
class QValueAxis;

/// The results: on every showing the open problem is evaluated anew and shown as
/// text and as a bar chart. The last evaluation and the chart stay here for the
/// reports until the next showing.
class TFormFinal final : public WizardScreen
{
    Q_OBJECT

public:
    /// A mark stands this far above its bar, joined to it by a line.
    static constexpr int MarkPointerLength = 20;

    explicit TFormFinal(QWidget* parent = nullptr);
    ~TFormFinal() override;

    /// Evaluates the open problem and refills the memo and the chart.
    void load() override;

    /// The last evaluation.
    const EvaluationResult& result() const { return m_result; }
    QChartView* chartView() const { return ChartResult; }
    /// The texts of the marks above the bars, in bar order.
    QStringList markTexts() const;
    /// Where each mark stands in the chart, in bar order.
    QList<QRectF> markRects() const;

Q_SIGNALS:
    /// "Вернуться": CurrentStep is the last step; the comparison last used comes next.
    void back();

private:
    void PrevExecute();
    /// Opens the decision analysis of the results shown.
    void ButAnalysisClick();
    void fillChart();
    void placeMarks();

    QFrame* Panel1 = nullptr;
    QPushButton* ButPrev = nullptr;
    QPushButton* ButExpToWordShort = nullptr;
    QPushButton* ButExpToWordFull = nullptr;
    QPushButton* ButAnalysis = nullptr;
    QPlainTextEdit* MResult = nullptr;
    QFrame* Panel2 = nullptr;
    QChartView* ChartResult = nullptr;
    QChart* m_chart = nullptr;
    QBarSeries* Series1 = nullptr;
    QBarSet* m_bars = nullptr;
    QBarCategoryAxis* m_labelAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QAction* Prev = nullptr;

    struct Mark
    {
        QGraphicsLineItem* pointer = nullptr;
        QGraphicsSimpleTextItem* text = nullptr;
    };
    QList<Mark> m_marks;
    EvaluationResult m_result;
};
