#include "evaluate/ui/TFormAnalysis.h"

#include "evaluate/AnalysisText.h"
#include "evaluate/Eigenvector.h"
#include "evaluate/HowSureText.h"
#include "evaluate/ProblemData.h"
#include "evaluate/Robustness.h"
#include "evaluate/ui/ParticipantsPage.h"
#include "shell/ui/ScreenParts.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int StripHeight = 50;
// Names of up to 255 characters would squeeze a chart to nothing; the tables and the sentences show them whole.
// A chart elides a longer label at its end, which would take the number or the mark after the name with it:
// the names are cut first, so that what follows them shows.
constexpr int ChartNameLength = 40;
constexpr int WeightLabelNameLength = 28; // "1. " + name + " — 37,93%" on the axis of the weights
constexpr int LegendLength = 36;
constexpr int SentenceNameLength = 40; // a name in the sentence under the table, which shares the page
constexpr char16_t WinnerMark[] = u" — лучший выбор";

QString chartName(const QString& name, int length = ChartNameLength)
{
    return name.size() > length ? name.left(length - 1) + u'…' : name;
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

// A header item that shows its whole text on hover: header sections elide long names.
QTableWidgetItem* headerItem(const QString& text, const QString& tip = QString())
{
    auto* item = new QTableWidgetItem(text);
    item->setData(Qt::UserRole, text); // the text before any eliding
    item->setToolTip(tip.isEmpty() ? text : tip);
    return item;
}

void setBold(QTableWidgetItem* item)
{
    QFont face = item->font();
    face.setBold(true);
    item->setFont(face);
}

// Centred header text too long for its section is cut at both ends. Each line is cut at its end instead, with
// "…", to the width the section has; the whole text is the item's tooltip.
void elideHeaderItem(QHeaderView* header, QTableWidgetItem* item, int width)
{
    if (!item)
        return;
    const int room = width - 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) - 2;
    const QFontMetrics metrics(header->font());
    QStringList lines = item->data(Qt::UserRole).toString().split(u'\n');
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, std::max(room, 0));
    item->setText(lines.join(u'\n'));
}

void elideHeaders(QTableWidget* table)
{
    QHeaderView* columns = table->horizontalHeader();
    QObject::connect(columns, &QHeaderView::sectionResized, table, [table, columns](int section, int, int width) {
        elideHeaderItem(columns, table->horizontalHeaderItem(section), width);
    });
    QHeaderView* rows = table->verticalHeader();
    for (int r = 0; r < table->rowCount(); ++r)
        elideHeaderItem(rows, table->verticalHeaderItem(r), rows->maximumWidth());
}

// As high as its header and rows, so that no empty band shows under the last row; the layout gives the rest of
// the page to what stands around it. The size follows rows that change height as their text wraps; a table
// taller than its place scrolls.
void fitToRows(QTableWidget* table)
{
    table->resizeRowsToContents();
    // The columns share the width among them; a horizontal bar, never needed, would only reserve a blank strip.
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
}

// The winner's line is red, as the bars of the results chart; no other line takes that colour.
const QColor WinnerColour(200, 30, 30);
const QColor LineColours[] = {{31, 119, 180}, {44, 160, 44},  {255, 127, 14}, {148, 103, 189},
                              {140, 86, 75},  {23, 190, 207}, {188, 189, 34}, {110, 110, 110}};

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

// A label wraps only between words: a name of 255 letters without a blank would run off the window. A run of
// more than 30 characters without a blank may break every 30.
QString wrapAnywhere(const QString& text)
{
    constexpr int Run = 30;
    QString out;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > Run) {
            out += QChar(0x200B); // zero width space: a place to break, drawn as nothing
            run = 1;
        }
        out += c;
    }
    return out;
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
    // Placed by the program: left to the window manager, a dialog may open anywhere on the screen.
    centreOverParent();

    const int top = WizardScreen::ClientHeight - StripHeight;
    Pages = new QTabWidget(this);
    Pages->setObjectName(u"Pages"_s);
    Pages->setGeometry(0, 0, WizardScreen::ClientWidth, top);

    Panel1 = ScreenParts::makePanel(this, u"Panel1"_s, QRect(0, top, WizardScreen::ClientWidth, StripHeight));
    ButClose = ScreenParts::makeButton(Panel1, {u"ButClose", u"Закрыть", QRect(48, 8, 100, 25),
                                                u"Закрыть анализ и вернуться к результатам расчетов",
                                                QStyle::SP_DialogCloseButton});
    ButClose->setAutoDefault(false);
    connect(ButClose, &QPushButton::clicked, this, &QWidget::close);

    buildWeightsPage();
    buildConsistencyPage();
    buildSensitivityPage();
}

TFormAnalysis::~TFormAnalysis() = default;

void TFormAnalysis::centreOverParent()
{
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    if (!over)
        return;
    // The frames are what sit centred; they are known once the windows are shown, so this runs again then.
    QRect frame = frameGeometry();
    frame.moveCenter(over->frameGeometry().center());
    move(frame.topLeft());
}

void TFormAnalysis::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        centreOverParent();
    }
}

void TFormAnalysis::buildWeightsPage()
{
    using AnalysisText::percent;
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
        categories << QString::number(k + 1) + u". "_s + chartName(a.critNames.at(k), WeightLabelNameLength) +
                          u" — "_s + percent(w);
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
    // Room for every bar's label; the table below takes what is left, and scrolls when that is not all it needs.
    ChartWeights->setMinimumHeight(std::min(300, 80 + 24 * a.critTotal));
    layout->addWidget(ChartWeights, 1);

    layout->addWidget(new QLabel(u"Приоритеты альтернатив по каждому критерию и в целом (лучшее в каждом столбце "
                                 u"выделено):"_s,
                                 page));
    TableLocal = makeTable(page, u"TableLocal"_s, a.altTotal, QStringList());
    TableLocal->setColumnCount(a.critTotal + 1);
    for (int k = 0; k < a.critTotal; ++k) {
        const QString weight = percent(a.weights.at(std::size_t(k)));
        TableLocal->setHorizontalHeaderItem(
            // Numbered as on the chart, so that a narrow column still tells its criterion.
            k, headerItem(QString::number(k + 1) + u". "_s + a.critNames.at(k) + u'\n' + weight,
                          a.critNames.at(k) + u" ("_s + weight + u')'));
    }
    TableLocal->setHorizontalHeaderItem(a.critTotal, headerItem(u"Приоритет"_s, u"Приоритет в целом"_s));
    for (int i = 0; i < a.altTotal; ++i) {
        TableLocal->setVerticalHeaderItem(i, headerItem(a.altNames.at(i)));
        const std::vector<double>& local = a.localPriorities.at(std::size_t(i));
        for (int k = 0; k < a.critTotal; ++k)
            cell(TableLocal, i, k, percent(local.at(std::size_t(k))))->setTextAlignment(Qt::AlignCenter);
        cell(TableLocal, i, a.critTotal, percent(a.priorities.at(std::size_t(i))))->setTextAlignment(Qt::AlignCenter);
    }
    // The best value of each column stands out. Under a criterion that is the highest local priority, all of
    // them if several are equal, none if the whole column is; the overall column marks the best choice, which the
    // results name (the first of equals).
    for (int k = 0; k < a.critTotal; ++k) {
        double best = 0.0;
        double worst = 1.0;
        for (const std::vector<double>& local : a.localPriorities) {
            best = std::max(best, local.at(std::size_t(k)));
            worst = std::min(worst, local.at(std::size_t(k)));
        }
        // Equal in exact arithmetic, local priorities may differ in their last bits.
        constexpr double Equal = 1e-12;
        for (int i = 0; i < a.altTotal && best - worst > Equal; ++i) {
            if (a.localPriorities.at(std::size_t(i)).at(std::size_t(k)) >= best - Equal)
                setBold(TableLocal->item(i, k));
        }
    }
    if (a.winner >= 0)
        setBold(TableLocal->item(a.winner, a.critTotal));
    // Nine criteria share what "Приоритет" and the names of the alternatives leave; a name of 255 characters would
    // push the numbers out of sight, so the header shows its start, the tooltip all of it.
    TableLocal->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableLocal->horizontalHeader()->setSectionResizeMode(a.critTotal, QHeaderView::ResizeToContents);
    TableLocal->verticalHeader()->setMaximumWidth(170);
    elideHeaders(TableLocal);
    fitToRows(TableLocal);
    layout->addWidget(TableLocal);
    Pages->addTab(page, QString::fromUtf16(WeightsPage));
}

void TFormAnalysis::buildConsistencyPage()
{
    auto* page = new QWidget(Pages);
    page->setObjectName(u"PageConsistency"_s);
    auto* layout = new QVBoxLayout(page);
    const AnalysisResult& a = m_analysis;

    QLabel* intro = makeText(page, u"LabelConsistency"_s);
    intro->setText(u"Согласованность ответов в каждой матрице сравнений. "_s + AnalysisText::consistencyLegend());
    layout->addWidget(intro);
    TableConsistency = makeTable(page, u"TableConsistency"_s, int(a.matrices.size()),
                                 {u"Сравнения"_s, u"λ max"_s, u"ИС"_s, u"ОС"_s, u"Оценка"_s});
    const QString tips[] = {
        u"Матрица сравнений: критерии между собой или альтернативы по одному критерию"_s,
        u"Наибольшее собственное число матрицы сравнений: равно числу сравниваемых элементов, когда ответы "
        u"полностью согласованы, и тем больше, чем сильнее они расходятся"_s,
        u"Индекс согласованности: (λ max − n) / (n − 1), где n — число сравниваемых элементов; 0 у полностью "
        u"согласованных ответов"_s,
        u"Отношение согласованности: ИС, делённый на средний ИС ответов, данных наугад, для того же числа "
        u"элементов; больше 10% — ответы противоречивы"_s,
        u"Согласованы ли ответы: противоречивы, если ОС больше 10%"_s};
    for (int c = 0; c < TableConsistency->columnCount(); ++c)
        TableConsistency->horizontalHeaderItem(c)->setToolTip(tips[c]);
    TableConsistency->verticalHeader()->hide();
    for (int x = 0; x < int(a.matrices.size()); ++x) {
        const AnalysisMatrix& m = a.matrices.at(std::size_t(x));
        cell(TableConsistency, x, 0, AnalysisText::matrixTitle(a, m));
        const QStringList cells = AnalysisText::consistencyCells(m);
        for (int c = 0; c < cells.size(); ++c)
            cell(TableConsistency, x, c + 1, cells.at(c));
        if (m.inconsistent) {
            for (int c = 0; c < TableConsistency->columnCount(); ++c) {
                QTableWidgetItem* item = TableConsistency->item(x, c);
                item->setForeground(Qt::red);
                setBold(item);
            }
        }
    }
    // The numbers and the verdict take what they need; the names of the matrices get the rest, and wrap.
    TableConsistency->setWordWrap(true);
    TableConsistency->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TableConsistency->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    TableConsistency->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    fitToRows(TableConsistency);
    layout->addWidget(TableConsistency, 1);

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
            cell(TableRevisit, row, 0, AnalysisText::matrixTitle(a, m));
            cell(TableRevisit, row, 1, j.presentSentence);
            cell(TableRevisit, row, 2, j.suggestedSentence);
            m_revisitRows.append({x, r});
        }
    }
    QStringList revisitText{m_revisitRows.isEmpty()
                                ? u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s
                                : u"Ответы, которые стоит пересмотреть (сначала самые противоречивые). Двойной "
                                  u"щелчок по ответу откроет диалог сравнения на этом шаге."_s};
    for (const AnalysisMatrix& m : a.matrices) {
        const QString note = AnalysisText::revisitNote(a, m);
        if (!note.isEmpty())
            revisitText << note;
    }
    LabelRevisit->setText(revisitText.join(u'\n'));
    TableRevisit->setVisible(!m_revisitRows.isEmpty());
    // The sentences are long: they wrap, and each row is as high as its text.
    TableRevisit->setWordWrap(true);
    TableRevisit->setColumnWidth(0, 170);
    TableRevisit->setColumnWidth(1, 290);
    TableRevisit->horizontalHeader()->setStretchLastSection(true);
    TableRevisit->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(TableRevisit, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { revisit(row); });
    fitToRows(TableRevisit);
    layout->addWidget(TableRevisit, 1);
    layout->addStretch(); // what the tables do not need stays below them
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
    for (int k = 0; k < a.critTotal; ++k) {
        CBoxCriterion->addItem(chartName(a.critNames.at(k)));
        CBoxCriterion->setItemData(k, a.critNames.at(k), Qt::ToolTipRole);
    }
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
    LabelSmallest->setText(AnalysisText::smallestChangeLine(a));

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
    m_sensitivityChart->setTitle(u"Приоритеты альтернатив при разном весе критерия "_s +
                                 AnalysisText::quoted(chartName(a.critNames.at(k))));

    // The priorities are straight lines in the weight, so their two ends draw them exactly.
    double top = 0.0;
    for (const PriorityLine& line : s.lines)
        top = std::max({top, line.at(0.0), line.at(1.0)});
    const double yMax = std::clamp(10.0 * std::ceil(10.0 * top), 10.0, 100.0);
    m_priorityAxis->setRange(0, yMax);
    m_priorityAxis->setTickCount(int(yMax / 10.0) + 1);

    const auto add = [this](QAbstractSeries* series) {
        m_sensitivityChart->addSeries(series);
        series->attachAxis(m_weightAxis);
        series->attachAxis(m_priorityAxis);
    };
    // Where the best choice holds, shaded. Added first, it lies under the lines and leaves their colours alone.
    auto* interval = new QAreaSeries();
    auto* upper = new QLineSeries(interval); // the area does not own its edge
    upper->append(100.0 * s.low, yMax);
    upper->append(100.0 * s.high, yMax);
    interval->setUpperSeries(upper);
    interval->setObjectName(u"IntervalArea"_s);
    interval->setName(u"Лучший выбор не меняется"_s);
    interval->setColor(QColor(200, 235, 200, 150)); // the grid shows through
    interval->setBorderColor(Qt::transparent);
    add(interval);

    int other = 0;
    for (int i = 0; i < a.altTotal; ++i) {
        const PriorityLine& line = s.lines.at(std::size_t(i));
        auto* series = new QLineSeries();
        const bool winner = i == a.winner;
        series->setName(winner ? chartName(a.altNames.at(i), LegendLength - int(std::size(WinnerMark)) + 1) +
                                     QString::fromUtf16(WinnerMark)
                               : chartName(a.altNames.at(i), LegendLength));
        series->append(0.0, 100.0 * line.at(0.0));
        series->append(100.0, 100.0 * line.at(1.0));
        QPen pen(winner ? WinnerColour : LineColours[other++ % std::size(LineColours)]);
        pen.setWidth(winner ? 3 : 2);
        series->setPen(pen);
        add(series);
    }

    // The present weight, a dashed line across.
    auto* marker = new QLineSeries();
    marker->setObjectName(u"MarkerWeight"_s);
    marker->setName(u"Вес сейчас: "_s + AnalysisText::percent(s.weight));
    marker->append(100.0 * s.weight, 0.0);
    marker->append(100.0 * s.weight, yMax);
    QPen dashed(Qt::black);
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    marker->setPen(dashed);
    add(marker);

    LabelInterval->setText(AnalysisText::sensitivityLine(a, k));
}

void TFormAnalysis::addParticipantsPage(IniFile& file)
{
    if (Respondents::load(file).isEmpty())
        return;
    auto* page = new ParticipantsPage(file, Pages);
    Pages->addTab(page, QString::fromUtf16(ParticipantsPage::Title));
    connect(page, &ParticipantsPage::respondentDeleted, this, [this, page] {
        if (!page->hasRespondents()) {
            Pages->removeTab(Pages->indexOf(page));
            page->deleteLater();
        }
    });
}

int TFormAnalysis::stepOf(const QStringList& steps, const QString& key)
{
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (ComUnit::stepLinePart(steps.at(i), ComUnit::StepParts::Key) == key)
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

void TFormAnalysis::showHowSure(const ProblemData& problem)
{
    buildEigenvectorPart(Eigenvector::evaluate(problem, m_analysis.winner));
    buildRobustnessPage(problem);
}

bool TFormAnalysis::robustnessPending() const
{
    return m_robustnessWatcher && m_robustnessWatcher->isRunning();
}

// Beside the program's own priorities: a column of the overall priorities by the eigenvector, what the method is,
// the criteria weights by it and whether it names the same best choice.
void TFormAnalysis::buildEigenvectorPart(const EigenvectorResult& eigenvector)
{
    const AnalysisResult& a = m_analysis;
    const int column = TableLocal->columnCount();
    TableLocal->insertColumn(column);
    TableLocal->setHorizontalHeaderItem(
        column, headerItem(u"Собств.\nвектор"_s, u"Приоритет в целом по главному собственному вектору"_s));
    for (int i = 0; i < a.altTotal; ++i) {
        QTableWidgetItem* item =
            cell(TableLocal, i, column, AnalysisText::percent(eigenvector.AltPriority.at(std::size_t(i))));
        item->setTextAlignment(Qt::AlignCenter);
        if (i == eigenvector.BestChoice)
            setBold(item);
    }
    TableLocal->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    LabelEigenvector = makeText(TableLocal->parentWidget(), u"LabelEigenvector"_s);
    // The criteria numbered as on the chart above.
    QStringList weights;
    for (int k = 0; k < a.critTotal; ++k)
        weights << QString::number(k + 1) + u". "_s +
                       AnalysisText::percent(eigenvector.CritPriority.at(std::size_t(k)));
    QStringList text{u"«Собств. вектор» — "_s + HowSureText::eigenvectorLegend()};
    if (!weights.isEmpty())
        text << u"Веса критериев по собственному вектору: "_s + weights.join(u"; "_s) + u'.';
    text << HowSureText::eigenvectorVerdict(a, eigenvector, SentenceNameLength);
    LabelEigenvector->setText(wrapAnywhere(text.join(u' ').trimmed()));
    TableLocal->parentWidget()->layout()->addWidget(LabelEigenvector);
}

void TFormAnalysis::buildRobustnessPage(const ProblemData& problem)
{
    auto* page = new QWidget(Pages);
    page->setObjectName(u"PageRobustness"_s);
    auto* layout = new QVBoxLayout(page);
    LabelRobustness = makeText(page, u"LabelRobustness"_s);
    layout->addWidget(LabelRobustness);
    QChart* chart = makeChart(u"Доля случаев, в которых альтернатива — лучший выбор"_s);
    chart->legend()->hide();
    ChartRobustness = new QChartView(chart, page);
    ChartRobustness->setObjectName(u"ChartRobustness"_s);
    ChartRobustness->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(ChartRobustness, 1);
    Pages->addTab(page, QString::fromUtf16(RobustnessPage));

    // 10,000 evaluations take a moment on a large problem: the window stays responsive meanwhile. The draws work
    // on a copy of the problem and the watcher is the window's child, so closing the window lets them finish
    // unobserved.
    LabelRobustness->setText(u"Идёт расчёт: каждый ответ сдвигается на одну ступень 10 000 раз…"_s);
    m_robustnessWatcher = new QFutureWatcher<std::optional<RobustnessResult>>(this);
    connect(m_robustnessWatcher, &QFutureWatcherBase::finished, this,
            [this] { showRobustness(m_robustnessWatcher->result()); });
    m_robustnessWatcher->setFuture(QtConcurrent::run([problem] { return Robustness::of(problem); }));
}

void TFormAnalysis::showRobustness(const std::optional<RobustnessResult>& robustness)
{
    const AnalysisResult& a = m_analysis;
    if (!robustness) {
        LabelRobustness->setText(HowSureText::noRobustnessLine());
        ChartRobustness->hide();
        return;
    }
    LabelRobustness->setText(wrapAnywhere(HowSureText::robustnessLine(a, *robustness)) +
                             u" Столбцы показывают, в какой доле из "_s + QLocale().toString(robustness->Draws) +
                             u" таких случаев лучшей оказывается каждая альтернатива."_s);
    auto* series = new QHorizontalBarSeries();
    auto* bars = new QBarSet(u"Доля"_s);
    bars->setColor(QColor(31, 119, 180));
    bars->setSelectedColor(WinnerColour);
    // Listed backwards, so that the first alternative is on top, numbered as the results chart numbers them.
    QStringList categories;
    for (int i = a.altTotal - 1; i >= 0; --i) {
        const double share = robustness->BestShare.at(std::size_t(i));
        bars->append(100.0 * share);
        // The share before the name: a chart elides a long label at its end.
        categories << QString::number(i + 1) + u". "_s + HowSureText::share(share) + u" — "_s +
                          chartName(a.altNames.at(i), WeightLabelNameLength);
    }
    bars->selectBar(a.altTotal - 1 - robustness->BestChoice);
    series->append(bars);
    QChart* chart = ChartRobustness->chart();
    chart->addSeries(series);
    auto* names = new QBarCategoryAxis();
    names->append(categories);
    chart->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto* values = new QValueAxis();
    values->setRange(0, 100);
    values->setLabelFormat(u"%d"_s);
    values->setTitleText(u"Доля случаев, %"_s);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
}
