#include "evaluate/ui/TFormAnalysis.h"

#include "evaluate/AnalysisText.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int StripHeight = 50;
// Names of up to 255 characters would squeeze a chart to nothing; the tables show them whole.
constexpr int ChartNameLength = 40;

QString chartName(const QString& name)
{
    return name.size() > ChartNameLength ? name.left(ChartNameLength - 1) + u'…' : name;
}

QTableWidget* makeTable(QWidget* parent, const QString& name, int rows, const QStringList& columns)
{
    auto* table = new QTableWidget(rows, int(columns.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    return table;
}

QTableWidgetItem* cell(QTableWidget* table, int row, int column, const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    table->setItem(row, column, item);
    return item;
}

QChart* makeChart(const QString& title)
{
    auto* chart = new QChart();
    chart->setTitle(title);
    chart->setBackgroundBrush(Qt::white);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

QLabel* makeText(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The series only draws a line: its marker in the legend would read as an alternative.
void hideFromLegend(QChart* chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart->legend()->markers(series))
        marker->setVisible(false);
}

} // namespace

TFormAnalysis::TFormAnalysis(AnalysisResult analysis, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_analysis(std::move(analysis))
{
    setObjectName(u"FormAnalysis"_s);
    setWindowTitle(QString::fromUtf16(WizardScreen::TitlePrefix) + QString::fromUtf16(Caption));
    // The same place and size as the results screen: a dialog opens centred over its parent, which is centred.
    setFixedSize(WizardScreen::ClientWidth, WizardScreen::ClientHeight);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);

    const int top = WizardScreen::ClientHeight - StripHeight;
    Pages = new QTabWidget(this);
    Pages->setObjectName(u"Pages"_s);
    Pages->setGeometry(0, 0, WizardScreen::ClientWidth, top);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setGeometry(0, top, WizardScreen::ClientWidth, StripHeight);
    ButClose = new QPushButton(u"Вернуться"_s, Panel1);
    ButClose->setObjectName(u"ButClose"_s);
    ButClose->setGeometry(48, 8, 100, 25);
    ButClose->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    ButClose->setToolTip(u"Вернуться к результатам расчетов"_s);
    ButClose->setAutoDefault(false);
    connect(ButClose, &QPushButton::clicked, this, &QWidget::close);

    buildWeightsPage();
    buildConsistencyPage();
    buildSensitivityPage();
}

TFormAnalysis::~TFormAnalysis() = default;

void TFormAnalysis::buildWeightsPage()
{
    using AnalysisText::Percent;
    auto* page = new QWidget(Pages);
    page->setObjectName(u"PageWeights"_s);
    auto* layout = new QVBoxLayout(page);
    const AnalysisResult& a = m_analysis;

    QChart* chart = makeChart(u"Веса критериев"_s);
    chart->legend()->hide();
    m_weightSeries = new QHorizontalBarSeries();
    m_weightSeries->setObjectName(u"SeriesWeights"_s);
    auto* bars = new QBarSet(u"Вес"_s);
    bars->setColor(QColor(220, 60, 60));
    // A horizontal chart counts its categories from the bottom; listed backwards, the first criterion is on top.
    QStringList categories;
    for (int k = a.critTotal - 1; k >= 0; --k) {
        const double w = a.weights.at(std::size_t(k));
        bars->append(100.0 * w);
        // Numbered, the labels stay apart even for criteria of the same name.
        categories << QString::number(k + 1) + u". "_s + chartName(a.critNames.at(k)) + u" — "_s + Percent(w);
    }
    m_weightSeries->append(bars);
    chart->addSeries(m_weightSeries);
    auto* names = new QBarCategoryAxis();
    names->append(categories);
    chart->addAxis(names, Qt::AlignLeft);
    m_weightSeries->attachAxis(names);
    auto* values = new QValueAxis();
    values->setRange(0, 100);
    values->setLabelFormat(u"%d"_s);
    values->setTitleText(u"Вес, %"_s);
    chart->addAxis(values, Qt::AlignBottom);
    m_weightSeries->attachAxis(values);
    ChartWeights = new QChartView(chart, page);
    ChartWeights->setObjectName(u"ChartWeights"_s);
    ChartWeights->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(ChartWeights, 3);

    layout->addWidget(new QLabel(u"Приоритеты альтернатив по каждому критерию и в целом:"_s, page));
    QStringList columns;
    for (int k = 0; k < a.critTotal; ++k)
        columns << a.critNames.at(k) + u"\n("_s + Percent(a.weights.at(std::size_t(k))) + u')';
    columns << u"Приоритет"_s;
    TableLocal = makeTable(page, u"TableLocal"_s, a.altTotal, columns);
    QStringList rows;
    for (int i = 0; i < a.altTotal; ++i) {
        rows << a.altNames.at(i);
        const std::vector<double>& local = a.localPriorities.at(std::size_t(i));
        for (int k = 0; k < a.critTotal; ++k)
            cell(TableLocal, i, k, Percent(local.at(std::size_t(k))))->setTextAlignment(Qt::AlignCenter);
        QTableWidgetItem* total = cell(TableLocal, i, a.critTotal, Percent(a.priorities.at(std::size_t(i))));
        total->setTextAlignment(Qt::AlignCenter);
        if (i == a.winner) {
            // The best choice stands out, as the results name it.
            for (int c = 0; c <= a.critTotal; ++c) {
                QFont face = TableLocal->item(i, c)->font();
                face.setBold(true);
                TableLocal->item(i, c)->setFont(face);
            }
        }
    }
    TableLocal->setVerticalHeaderLabels(rows);
    TableLocal->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(TableLocal, 2);
    Pages->addTab(page, QString::fromUtf16(WeightsPage));
}

void TFormAnalysis::buildConsistencyPage()
{
    auto* page = new QWidget(Pages);
    page->setObjectName(u"PageConsistency"_s);
    auto* layout = new QVBoxLayout(page);
    const AnalysisResult& a = m_analysis;

    QLabel* intro = makeText(page, u"LabelConsistency"_s);
    intro->setText(u"Согласованность ответов в каждой матрице сравнений. Если отношение согласованности (ОС) "
                   u"больше 10%, ответы противоречивы."_s);
    layout->addWidget(intro);
    TableConsistency = makeTable(page, u"TableConsistency"_s, int(a.matrices.size()),
                                 {u"Сравнения"_s, u"λ max"_s, u"ИС"_s, u"ОС"_s, u"Оценка"_s});
    TableConsistency->verticalHeader()->hide();
    for (int x = 0; x < int(a.matrices.size()); ++x) {
        const AnalysisMatrix& m = a.matrices.at(std::size_t(x));
        cell(TableConsistency, x, 0, AnalysisText::MatrixTitle(a, m));
        const QStringList cells = AnalysisText::ConsistencyCells(m);
        for (int c = 0; c < cells.size(); ++c)
            cell(TableConsistency, x, c + 1, cells.at(c));
        if (m.inconsistent) {
            for (int c = 0; c < TableConsistency->columnCount(); ++c) {
                QTableWidgetItem* item = TableConsistency->item(x, c);
                item->setForeground(Qt::red);
                QFont face = item->font();
                face.setBold(true);
                item->setFont(face);
            }
        }
    }
    TableConsistency->setColumnWidth(0, 330);
    TableConsistency->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TableConsistency->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    TableConsistency->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(TableConsistency, 2);

    LabelRevisit = makeText(page, u"LabelRevisit"_s);
    layout->addWidget(LabelRevisit);
    TableRevisit =
        makeTable(page, u"TableRevisit"_s, 0, {u"Сравнения"_s, u"Ваш ответ"_s, u"С остальными ответами согласуется"_s});
    TableRevisit->verticalHeader()->hide();
    for (int x = 0; x < int(a.matrices.size()); ++x) {
        const AnalysisMatrix& m = a.matrices.at(std::size_t(x));
        for (int r = 0; r < m.revisit.size(); ++r) {
            const RevisitJudgement& j = m.revisit.at(r);
            const int row = TableRevisit->rowCount();
            TableRevisit->insertRow(row);
            cell(TableRevisit, row, 0, AnalysisText::MatrixTitle(a, m));
            cell(TableRevisit, row, 1, j.presentSentence);
            cell(TableRevisit, row, 2, j.suggestedSentence);
            m_revisitRows.append({x, r});
        }
    }
    LabelRevisit->setText(m_revisitRows.isEmpty()
                              ? u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s
                              : u"Ответы, которые стоит пересмотреть (сначала самые противоречивые). Двойной "
                                u"щелчок по ответу откроет диалог сравнения на этом шаге."_s);
    TableRevisit->setVisible(!m_revisitRows.isEmpty());
    // The sentences are long: they wrap, and each row is as high as its text.
    TableRevisit->setWordWrap(true);
    TableRevisit->setColumnWidth(0, 170);
    TableRevisit->setColumnWidth(1, 290);
    TableRevisit->horizontalHeader()->setStretchLastSection(true);
    TableRevisit->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(TableRevisit, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { revisit(row); });
    layout->addWidget(TableRevisit, 3);
    Pages->addTab(page, QString::fromUtf16(ConsistencyPage));
}

void TFormAnalysis::buildSensitivityPage()
{
    auto* page = new QWidget(Pages);
    page->setObjectName(u"PageSensitivity"_s);
    auto* layout = new QVBoxLayout(page);
    const AnalysisResult& a = m_analysis;

    auto* row = new QHBoxLayout();
    auto* caption = new QLabel(u"Вес критерия:"_s, page);
    row->addWidget(caption);
    CBoxCriterion = new QComboBox(page);
    CBoxCriterion->setObjectName(u"CBoxCriterion"_s);
    CBoxCriterion->setMinimumWidth(300);
    for (int k = 0; k < a.critTotal; ++k)
        CBoxCriterion->addItem(chartName(a.critNames.at(k)));
    caption->setBuddy(CBoxCriterion);
    row->addWidget(CBoxCriterion);
    row->addStretch();
    layout->addLayout(row);

    m_sensitivityChart = makeChart(QString());
    m_sensitivityChart->legend()->setAlignment(Qt::AlignRight);
    m_weightAxis = new QValueAxis();
    m_weightAxis->setRange(0, 100);
    m_weightAxis->setLabelFormat(u"%d"_s);
    m_weightAxis->setTitleText(u"Вес критерия, %"_s);
    m_sensitivityChart->addAxis(m_weightAxis, Qt::AlignBottom);
    m_priorityAxis = new QValueAxis();
    m_priorityAxis->setLabelFormat(u"%d"_s);
    m_priorityAxis->setTitleText(u"Приоритет, %"_s);
    m_sensitivityChart->addAxis(m_priorityAxis, Qt::AlignLeft);
    ChartSensitivity = new QChartView(m_sensitivityChart, page);
    ChartSensitivity->setObjectName(u"ChartSensitivity"_s);
    ChartSensitivity->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(ChartSensitivity, 1);

    LabelInterval = makeText(page, u"LabelInterval"_s);
    layout->addWidget(LabelInterval);
    LabelSmallest = makeText(page, u"LabelSmallest"_s);
    layout->addWidget(LabelSmallest);
    LabelSmallest->setText(AnalysisText::SmallestChangeLine(a));

    // The criterion whose weight is nearest to changing the winner is the one worth looking at first.
    CBoxCriterion->setCurrentIndex(a.smallestChange ? a.smallestChange->criterion : (a.critTotal > 0 ? 0 : -1));
    connect(CBoxCriterion, &QComboBox::currentIndexChanged, this, &TFormAnalysis::showCriterion);
    showCriterion(CBoxCriterion->currentIndex());
    Pages->addTab(page, QString::fromUtf16(SensitivityPage));
}

void TFormAnalysis::showCriterion(int k)
{
    const AnalysisResult& a = m_analysis;
    if (k >= 0 && k < a.critTotal && CBoxCriterion->currentIndex() != k) {
        CBoxCriterion->setCurrentIndex(k); // comes back here through the list's signal
        return;
    }
    m_sensitivityChart->removeAllSeries();
    if (k < 0 || k >= a.critTotal) {
        m_sensitivityChart->setTitle(QString());
        m_priorityAxis->setRange(0, 100);
        LabelInterval->clear();
        return;
    }
    const CriterionSensitivity& s = a.sensitivity.at(std::size_t(k));
    m_sensitivityChart->setTitle(u"Приоритеты альтернатив при разном весе критерия "_s + u'«' +
                                 chartName(a.critNames.at(k)) + u'»');

    // The priorities are straight lines in the weight, so their two ends draw them exactly.
    double top = 0.0;
    for (int i = 0; i < a.altTotal; ++i) {
        const PriorityLine& line = s.lines.at(std::size_t(i));
        auto* series = new QLineSeries();
        series->setName(chartName(a.altNames.at(i)));
        series->append(0.0, 100.0 * line.at(0.0));
        series->append(100.0, 100.0 * line.at(1.0));
        top = std::max({top, line.at(0.0), line.at(1.0)});
        m_sensitivityChart->addSeries(series);
        if (i == a.winner) {
            // Thicker, in the colour the chart gave it, which it only has once added.
            QPen pen = series->pen();
            pen.setWidth(3);
            series->setPen(pen);
        }
        series->attachAxis(m_weightAxis);
        series->attachAxis(m_priorityAxis);
    }
    const double yMax = std::clamp(10.0 * std::ceil(10.0 * top), 10.0, 100.0);
    m_priorityAxis->setRange(0, yMax);
    m_priorityAxis->setTickCount(int(yMax / 10.0) + 1);

    // Where the best choice holds, shaded; the present weight, a dashed line across.
    auto* interval = new QAreaSeries();
    auto* upper = new QLineSeries(interval); // the area does not own its edge
    upper->append(100.0 * s.low, yMax);
    upper->append(100.0 * s.high, yMax);
    interval->setUpperSeries(upper);
    interval->setObjectName(u"IntervalArea"_s);
    interval->setName(u"Лучший выбор не меняется"_s);
    interval->setColor(QColor(200, 235, 200, 110));
    interval->setBorderColor(Qt::transparent);
    m_sensitivityChart->addSeries(interval);
    interval->attachAxis(m_weightAxis);
    interval->attachAxis(m_priorityAxis);

    auto* marker = new QLineSeries();
    marker->setObjectName(u"MarkerWeight"_s);
    marker->setName(u"Вес сейчас"_s);
    marker->append(100.0 * s.weight, 0.0);
    marker->append(100.0 * s.weight, yMax);
    QPen dashed(Qt::black);
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    marker->setPen(dashed);
    m_sensitivityChart->addSeries(marker);
    marker->attachAxis(m_weightAxis);
    marker->attachAxis(m_priorityAxis);
    hideFromLegend(m_sensitivityChart, interval);
    hideFromLegend(m_sensitivityChart, marker);

    LabelInterval->setText(AnalysisText::SensitivityLine(a, k));
}

int TFormAnalysis::stepOf(const QStringList& steps, const QString& key)
{
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (ComUnit::StepLinePart(steps.at(i), 0) == key)
            return int(i);
    }
    return -1;
}

void TFormAnalysis::revisit(int row)
{
    if (row < 0 || row >= m_revisitRows.size())
        return;
    const auto [x, r] = m_revisitRows.at(row);
    const RevisitJudgement& j = m_analysis.matrices.at(std::size_t(x)).revisit.at(r);
    // The dialog shows the steps the criteria screen built; the pair is found there by its key, which also
    // holds should that list be ordered differently from the analysis.
    const int step = stepOf(ComUnit::CompareSteps, j.key);
    if (step < 0)
        return;
    close();
    Q_EMIT revisitRequested(step);
}
