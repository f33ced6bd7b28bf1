#include "evaluate/chart/ResultChart.h"

#include "evaluate/NumberFormat.h"
#include "storage/AtomicFile.h"
#include "storage/OptivarError.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QLinearGradient>
#include <QPainter>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;

namespace {

// Red, lighter towards the left edge of every bar.
QBrush barBrush()
{
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0.0, QColor(255, 150, 150));
    gradient.setColorAt(1.0, Qt::red);
    return QBrush(gradient);
}

} // namespace

ResultChart::ResultChart(QWidget* parent) : QChartView(new QChart(), parent) // the view owns the chart
{
    QChart* c = chart();
    c->setTitle(QString::fromUtf16(Title));
    c->legend()->hide();
    c->setBackgroundBrush(Qt::white);
    c->setPlotAreaBackgroundVisible(false);
    c->setAnimationOptions(QChart::NoAnimation);

    Series1 = new QBarSeries();
    Series1->setObjectName(u"Series1"_s);
    Series1->setName(u"SAlt"_s);
    m_bars = new QBarSet(u"SAlt"_s);
    m_bars->setBrush(barBrush());
    Series1->append(m_bars);
    c->addSeries(Series1);

    m_labelAxis = new QBarCategoryAxis();
    c->addAxis(m_labelAxis, Qt::AlignBottom);
    Series1->attachAxis(m_labelAxis);
    m_valueAxis = new QValueAxis();
    m_valueAxis->setRange(0, 100);
    m_valueAxis->setLabelFormat(u"%d"_s);
    c->addAxis(m_valueAxis, Qt::AlignLeft);
    Series1->attachAxis(m_valueAxis);

    setRenderHint(QPainter::Antialiasing);
    setBackgroundBrush(Qt::white);
    resize(ScreenSize);
    connect(c, &QChart::plotAreaChanged, this, &ResultChart::placeMarks);
}

ResultChart::~ResultChart() = default;

void ResultChart::fill(const QList<ResultBar>& bars)
{
    m_bars->remove(0, m_bars->count());
    m_labelAxis->clear();

    double sum = 0.0;
    QStringList labels;
    QList<qreal> values;
    for (const ResultBar& bar : bars) {
        values.append(bar.value);
        labels.append(bar.label);
        sum += bar.value;
    }
    m_bars->append(values);
    m_labelAxis->append(labels);
    m_valueAxis->setRange(0, 100); // appending labels must not rescale the value axis

    // The marks are items of the chart, kept for the next filling; those beyond the bars are hidden.
    QFont markFace = chart()->font();
    markFace.setPixelSize(11);
    while (m_marks.size() < values.size()) {
        Mark mark;
        mark.pointer = new QGraphicsLineItem(chart());
        mark.pointer->setPen(QPen(Qt::gray));
        mark.text = new QGraphicsSimpleTextItem(chart());
        mark.text->setFont(markFace);
        m_marks.append(mark);
    }
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        const bool used = i < values.size();
        m_marks[i].pointer->setVisible(used);
        m_marks[i].text->setVisible(used);
        // Each mark gives the bar's share of all bars.
        m_marks[i].text->setText(used ? NumberFormat::percentMark(sum > 0.0 ? 100.0 * values[i] / sum : 0.0)
                                      : QString());
    }
    placeMarks();
}

void ResultChart::placeMarks()
{
    for (int i = 0; i < m_bars->count(); ++i) {
        const QPointF top = chart()->mapToPosition(QPointF(i, m_bars->at(i)), Series1);
        const QPointF end = top - QPointF(0, MarkPointerLength);
        m_marks[i].pointer->setLine(QLineF(top, end));
        QGraphicsSimpleTextItem* text = m_marks[i].text;
        const QRectF box = text->boundingRect();
        text->setPos(end.x() - box.width() / 2, end.y() - box.height());
    }
}

QStringList ResultChart::markTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_bars->count(); ++i)
        texts.append(m_marks.at(i).text->text());
    return texts;
}

QList<QRectF> ResultChart::markRects() const
{
    QList<QRectF> rects;
    for (int i = 0; i < m_bars->count(); ++i)
        rects.append(m_marks.at(i).text->sceneBoundingRect());
    return rects;
}

QImage ResultChart::picture()
{
    // A chart of its own, never shown, has not taken its size yet: it is shown
    // where no one sees it. A chart refilled since it was last painted lays
    // itself out only later. The axes, the bars and the marks must stand where
    // they will be drawn.
    if (!isVisible() && isWindow()) {
        setAttribute(Qt::WA_DontShowOnScreen);
        show();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QGraphicsLayout* layout = chart()->layout())
        layout->activate();
    placeMarks();

    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(&painter);
    painter.end();
    return image;
}

void ResultChart::saveBitmap(const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture().save(&buffer, "BMP"))
        throw OptivarError(OptivarError::Code::IoError, u"Не удается сохранить рисунок диаграммы в файл "_s + path);
    AtomicFile::write(path, bytes);
}
