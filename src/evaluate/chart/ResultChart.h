#pragma once

#include "evaluate/EvaluationResult.h"

#include <QChartView>
#include <QImage>
#include <QList>
#include <QSize>
#include <QStringList>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QValueAxis;

/// The bar chart of the results: one red bar per alternative on a fixed 0 to 100
/// axis, each with a mark giving its share of all bars. The results screen shows
/// it; the reports take its picture, on the screen or drawn offscreen.
class ResultChart final : public QChartView
{
    Q_OBJECT

public:
    static constexpr char16_t Title[] = u"Результаты выбора";
    /// A mark stands this far above its bar, joined to it by a line.
    static constexpr int MarkPointerLength = 20;
    /// The size the results screen gives the chart, which the headless reports draw it at.
    static constexpr QSize ScreenSize{408, 523};

    explicit ResultChart(QWidget* parent = nullptr);
    ~ResultChart() override;

    /// Replaces the bars, their labels and their marks.
    void fill(const QList<ResultBar>& bars);

    /// The texts of the marks above the bars, in bar order.
    QStringList markTexts() const;
    /// Where each mark stands in the chart, in bar order.
    QList<QRectF> markRects() const;

    /// The chart as it stands, at its present size, on white.
    QImage picture();
    /// Saves picture() as a Windows bitmap, replacing the file whole or not at
    /// all. Throws OptivarError when it cannot be written.
    void saveBitmap(const QString& path);

private:
    void placeMarks();

    QBarSeries* Series1 = nullptr;
    QBarSet* m_bars = nullptr;
    QBarCategoryAxis* m_labelAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;

    struct Mark
    {
        QGraphicsLineItem* pointer = nullptr;
        QGraphicsSimpleTextItem* text = nullptr;
    };
    QList<Mark> m_marks;
};
