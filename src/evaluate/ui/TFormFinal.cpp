#include "evaluate/ui/TFormFinal.h"

#include "evaluate/Evaluation.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ui/TFormAnalysis.h"
#include "report/AnalysisReport.h"
#include "shell/ui/ErrorBox.h"
#include "storage/ComUnit.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QLinearGradient>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int StripHeight = 50;
constexpr int MemoWidth = 384;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

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

TFormFinal::TFormFinal(QWidget* parent) : WizardScreen(u"результаты расчетов"_s, parent)
{
    const int top = ClientHeight - StripHeight;
    Panel1 = new QFrame(this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setGeometry(0, top, ClientWidth, StripHeight);
    ButPrev = makeButton(Panel1, u"ButPrev"_s, u"Вернуться"_s, QRect(48, 8, 100, 25));
    ButPrev->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    ButExpToWordShort =
        makeButton(Panel1, u"ButExpToWordShort"_s, u"Экспорт в Word (короткий отчет)"_s, QRect(260, 8, 200, 25));
    ButExpToWordFull =
        makeButton(Panel1, u"ButExpToWordFull"_s, u"Экспорт в Word (полный отчет)"_s, QRect(490, 8, 200, 25));
    for (QPushButton* button : {ButExpToWordShort, ButExpToWordFull}) {
        button->setLayoutDirection(Qt::RightToLeft); // the glyph stands right of the caption
        button->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
        // The long captions fit beside the glyph only in the form's small face.
        QFont face = button->font();
        face.setPointSize(8);
        button->setFont(face);
    }
    // Centred in the gap between "Вернуться" and the export buttons, in their small face.
    ButAnalysis = makeButton(Panel1, u"ButAnalysis"_s, u"Анализ решения"_s, QRect(151, 8, 106, 25));
    ButAnalysis->setToolTip(u"Веса критериев, согласованность ответов и что может изменить лучший выбор"_s);
    ButAnalysis->setFont(ButExpToWordFull->font());
    connect(ButAnalysis, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButAnalysisClick(); }); });

    MResult = new QPlainTextEdit(this);
    MResult->setObjectName(u"MResult"_s);
    MResult->setReadOnly(true);
    MResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MResult->setLineWrapMode(QPlainTextEdit::NoWrap);
    MResult->setGeometry(ClientWidth - MemoWidth, 0, MemoWidth, top);
    QFont memoFace = MResult->font();
    memoFace.setPointSize(10);
    MResult->setFont(memoFace);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(u"Panel2"_s);
    Panel2->setGeometry(0, 0, ClientWidth - MemoWidth, top);

    m_chart = new QChart();
    m_chart->setTitle(u"Результаты выбора"_s);
    m_chart->legend()->hide();
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundVisible(false);
    m_chart->setAnimationOptions(QChart::NoAnimation);

    Series1 = new QBarSeries();
    Series1->setObjectName(u"Series1"_s);
    Series1->setName(u"SAlt"_s);
    m_bars = new QBarSet(u"SAlt"_s);
    m_bars->setBrush(barBrush());
    Series1->append(m_bars);
    m_chart->addSeries(Series1);

    m_labelAxis = new QBarCategoryAxis();
    m_chart->addAxis(m_labelAxis, Qt::AlignBottom);
    Series1->attachAxis(m_labelAxis);
    m_valueAxis = new QValueAxis();
    m_valueAxis->setRange(0, 100);
    m_valueAxis->setLabelFormat(u"%d"_s);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    Series1->attachAxis(m_valueAxis);

    ChartResult = new QChartView(m_chart, Panel2); // the view owns the chart
    ChartResult->setObjectName(u"ChartResult"_s);
    ChartResult->setRenderHint(QPainter::Antialiasing);
    ChartResult->setGeometry(Panel2->rect());
    ChartResult->setBackgroundBrush(Qt::white);
    connect(m_chart, &QChart::plotAreaChanged, this, &TFormFinal::placeMarks);

    Prev = new QAction(u"Вернуться"_s, this);
    Prev->setObjectName(u"Prev"_s);
    connect(Prev, &QAction::triggered, this, [this] { ErrorBox::guarded(this, [this] { PrevExecute(); }); });
    connect(ButPrev, &QPushButton::clicked, Prev, &QAction::trigger);
    // What the export buttons do comes with the Word reports.
}

TFormFinal::~TFormFinal() = default;

void TFormFinal::load()
{
    m_result = Evaluation::EvaluateProblem(ProblemData::load(ComUnit::ProblemIni), QLocale());
    MResult->setPlainText(m_result.Memo.join(u'\n'));
    fillChart();
    ButExpToWordShort->setEnabled(true);
    ButExpToWordFull->setEnabled(true);
}

void TFormFinal::fillChart()
{
    m_bars->remove(0, m_bars->count());
    m_labelAxis->clear();

    double sum = 0.0;
    QStringList labels;
    QList<qreal> values;
    for (const ResultBar& bar : std::as_const(m_result.Bars)) {
        values.append(bar.value);
        labels.append(bar.label);
        sum += bar.value;
    }
    m_bars->append(values);
    m_labelAxis->append(labels);
    m_valueAxis->setRange(0, 100); // appending labels must not rescale the value axis

    // The marks are items of the chart, kept for the next showing; those beyond the bars are hidden.
    QFont markFace = m_chart->font();
    markFace.setPixelSize(11);
    while (m_marks.size() < values.size()) {
        Mark mark;
        mark.pointer = new QGraphicsLineItem(m_chart);
        mark.pointer->setPen(QPen(Qt::gray));
        mark.text = new QGraphicsSimpleTextItem(m_chart);
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

void TFormFinal::placeMarks()
{
    for (int i = 0; i < m_bars->count(); ++i) {
        const QPointF top = m_chart->mapToPosition(QPointF(i, m_bars->at(i)), Series1);
        const QPointF end = top - QPointF(0, MarkPointerLength);
        m_marks[i].pointer->setLine(QLineF(top, end));
        QGraphicsSimpleTextItem* text = m_marks[i].text;
        const QRectF box = text->boundingRect();
        text->setPos(end.x() - box.width() / 2, end.y() - box.height());
    }
}

QStringList TFormFinal::markTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_bars->count(); ++i)
        texts.append(m_marks.at(i).text->text());
    return texts;
}

QList<QRectF> TFormFinal::markRects() const
{
    QList<QRectF> rects;
    for (int i = 0; i < m_bars->count(); ++i)
        rects.append(m_marks.at(i).text->sceneBoundingRect());
    return rects;
}

void TFormFinal::PrevExecute()
{
    ComUnit::CurrentStep = ComUnit::CompareSteps.size() - 1;
    Q_EMIT back();
}

void TFormFinal::ButAnalysisClick()
{
    auto* window = new TFormAnalysis(AnalysisReport::AnalysisOf(*ComUnit::ProblemIni.snapshot(), m_result), this);
    connect(window, &TFormAnalysis::revisitRequested, this, [this](int step) {
        // The way back to the comparisons leads into the dialog when the step-by-step interface is the one in
        // use, and the dialog shows CurrentStep: so it opens on the judgement chosen.
        ComUnit::CurrentStep = step;
        ComUnit::InterfaceMode = 0;
        Q_EMIT back();
    });
    window->open();
}
