#include "evaluate/ui/TFormFinal.h"

#include "evaluate/Evaluation.h"
#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/chart/ResultChart.h"
#include "evaluate/ui/TFormAnalysis.h"
#include "report/AnalysisReport.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "report/ui/DocumentOpener.h"
#include "report/ui/ExportNotice.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/Respondents.h"

#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include <utility>

using namespace Qt::Literals::StringLiterals;
using ScreenParts::makeButton;

namespace {
constexpr int GroupCheckWidth = 190;
}

static_assert(ResultChart::ScreenSize == QSize(WizardScreen::ClientWidth - TFormFinal::MemoWidth,
                                               WizardScreen::ClientHeight - TFormFinal::StripHeight),
              "the headless reports draw the chart at the size this screen gives it");
static_assert(ResultChart::MarkPointerLength == TFormFinal::MarkPointerLength);

TFormFinal::TFormFinal(QWidget* parent) : WizardScreen(u"результаты расчетов"_s, parent)
{
    const int top = ClientHeight - StripHeight;
    Panel1 = ScreenParts::makePanel(this, u"Panel1"_s, QRect(0, top, ClientWidth, StripHeight));
    ButPrev = ScreenParts::makeBackButton(Panel1, {48, 8});
    const auto exportButton = [this](QStringView name, QStringView caption, int x) {
        QPushButton* button = makeButton(Panel1, {name, caption, QRect(x, 8, 200, 25), {}, QStyle::SP_FileIcon, true});
        // The long captions fit beside the glyph only in the form's small face.
        QFont face = button->font();
        face.setPointSize(8);
        button->setFont(face);
        return button;
    };
    ButExpToWordShort = exportButton(u"ButExpToWordShort", u"Экспорт в Word (короткий отчет)", 260);
    ButExpToWordFull = exportButton(u"ButExpToWordFull", u"Экспорт в Word (полный отчет)", 490);
    // Centred in the gap between "Вернуться" and the export buttons, in their small face.
    ButAnalysis = makeButton(Panel1, u"ButAnalysis"_s, u"Анализ решения"_s, QRect(151, 8, 106, 25));
    ButAnalysis->setToolTip(u"Веса критериев, согласованность ответов и что может изменить лучший выбор"_s);
    ButAnalysis->setFont(ButExpToWordFull->font());
    connect(ButAnalysis, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButAnalysisClick(); }); });

    // Under the buttons, in their small face, from the left edge of "Вернуться" to the panel's right edge.
    STextSaved = new ExportNotice(Panel1);
    STextSaved->setObjectName(u"STextSaved"_s);
    STextSaved->setFont(ButExpToWordFull->font());
    STextSaved->setGeometry(48, 34, ClientWidth - 48 - 8, StripHeight - 34 - 2);

    // The group's result, offered when the problem has respondents: right of the notice, which then gives it room.
    CheckGroup = new QCheckBox(u"Показать результат группы"_s, Panel1);
    CheckGroup->setObjectName(u"CheckGroup"_s);
    CheckGroup->setFont(ButExpToWordFull->font());
    CheckGroup->setToolTip(u"Результат всех участников вместе: Я и те, чьи ответы анкеты введены"_s);
    CheckGroup->setGeometry(ClientWidth - 8 - GroupCheckWidth, 32, GroupCheckWidth, StripHeight - 32 - 1);
    CheckGroup->hide();
    connect(CheckGroup, &QCheckBox::toggled, this, [this] { showResult(); });

    // Lines wrap at the memo's width, a name too long for one line too, so
    // nothing hides behind a horizontal scroll bar.
    MResult = new QPlainTextEdit(this);
    MResult->setObjectName(u"MResult"_s);
    MResult->setReadOnly(true);
    MResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MResult->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MResult->setGeometry(ClientWidth - MemoWidth, 0, MemoWidth, top);
    QFont memoFace = MResult->font();
    memoFace.setPointSize(10);
    MResult->setFont(memoFace);

    Panel2 = ScreenParts::makePanel(this, u"Panel2"_s, QRect(0, 0, ClientWidth - MemoWidth, top), QFrame::NoFrame);

    ChartResult = new ResultChart(Panel2);
    ChartResult->setObjectName(u"ChartResult"_s);
    ChartResult->setGeometry(Panel2->rect());
    // The chart takes no keys: Tab passes it by.
    ChartResult->setFocusPolicy(Qt::NoFocus);
    ChartResult->viewport()->setFocusPolicy(Qt::NoFocus);

    Prev = ScreenParts::makeAction(this, u"Prev"_s, u"Вернуться"_s);
    connect(Prev, &QAction::triggered, this, [this] { ErrorBox::guarded(this, [this] { PrevExecute(); }); });
    connect(ButPrev, &QPushButton::clicked, Prev, &QAction::trigger);
    connect(ButExpToWordShort, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButExpToWordShortClick(); }); });
    connect(ButExpToWordFull, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButExpToWordFullClick(); }); });
    // The memo first, then the buttons from left to right as they stand.
    setReadingOrder({MResult, ButPrev, ButAnalysis, ButExpToWordShort, ButExpToWordFull});
}

TFormFinal::~TFormFinal() = default;

void TFormFinal::load()
{
    m_result = Evaluation::EvaluateProblem(ProblemData::load(ComUnit::ProblemIni), QLocale());
    loadGroup();
    ButExpToWordShort->setEnabled(true);
    ButExpToWordFull->setEnabled(true);
}

void TFormFinal::loadGroup()
{
    const QList<Respondent> respondents = Respondents::load(ComUnit::ProblemIni);
    m_participants = int(respondents.size()) + 1;
    m_groupResult = EvaluationResult();
    m_groupResult.AltTotal = -1;
    if (!respondents.isEmpty()) {
        const ProblemData problem = ProblemData::load(ComUnit::ProblemIni);
        m_groupResult = GroupEvaluation::evaluate(problem, respondents).Group;
        Evaluation::describe(m_groupResult, problem.altNames(), QLocale());
    }
    const bool group = m_groupResult.AltTotal >= 0;
    CheckGroup->setVisible(group);
    if (!group)
        CheckGroup->setChecked(false);
    STextSaved->resize((group ? CheckGroup->x() - 8 : ClientWidth - 8) - STextSaved->x(), STextSaved->height());
    showResult();
}

void TFormFinal::showResult()
{
    // The chart's own title is the user's; the group's chart says whose it is, as the memo's first line does.
    const QString ownTitle = QString::fromUtf16(ResultChart::Title);
    const bool group = CheckGroup->isChecked() && m_groupResult.AltTotal >= 0;
    if (group) {
        MResult->setPlainText(u"Результат группы (участников: %1)\n\n"_s.arg(m_participants) +
                              m_groupResult.Memo.join(u'\n'));
        ChartResult->fill(m_groupResult.Bars);
    } else {
        MResult->setPlainText(m_result.Memo.join(u'\n'));
        ChartResult->fill(m_result.Bars);
    }
    ChartResult->chart()->setTitle(group ? ownTitle + u" группы"_s : ownTitle);
}

QChartView* TFormFinal::chartView() const
{
    return ChartResult;
}

QStringList TFormFinal::markTexts() const
{
    return ChartResult->markTexts();
}

QList<QRectF> TFormFinal::markRects() const
{
    return ChartResult->markRects();
}

void TFormFinal::PrevExecute()
{
    ComUnit::CurrentStep = ComUnit::CompareSteps.size() - 1;
    Q_EMIT back();
}

TFormAnalysis* TFormFinal::ButAnalysisClick()
{
    const auto problem = ComUnit::ProblemIni.snapshot();
    auto* window = new TFormAnalysis(AnalysisReport::analysisOf(*problem, m_result), this);
    window->showHowSure(ProblemData::load(*problem));
    connect(window, &TFormAnalysis::revisitRequested, this, [this, window](int step) {
        // The window has closed, and is deleted later: its page is still there to remember.
        m_analysisPage = window->findChild<QTabWidget*>(u"Pages"_s)->currentIndex();
        Q_EMIT revise(step);
    });
    window->addParticipantsPage(ComUnit::ProblemIni);
    // A respondent deleted there leaves the group's result here out of date.
    connect(window, &QDialog::finished, this, [this] { ErrorBox::guarded(this, [this] { loadGroup(); }); });
    window->open();
    return window;
}

void TFormFinal::reopenAnalysis()
{
    const int page = std::exchange(m_analysisPage, -1);
    if (page < 0)
        return;
    ButAnalysisClick()->findChild<QTabWidget*>(u"Pages"_s)->setCurrentIndex(page);
}

void TFormFinal::ButExpToWordShortClick()
{
    exportReport(false);
}

void TFormFinal::ButExpToWordFullClick()
{
    exportReport(true);
}

// The priorities and ratios are those of the last showing; names, counts and
// judgements are read from the file as it is now. The picture stays in the data
// folder, as the user may want it on its own.
void TFormFinal::exportReport(bool full)
{
    const QString chartPath = QDir(ComUnit::DatDir).filePath(u"graf.bmp"_s);
    // The reports are the user's own: the chart is pictured with the user's bars even while the group's show.
    if (CheckGroup->isChecked()) {
        const QSignalBlocker quiet(CheckGroup);
        CheckGroup->setChecked(false);
        showResult();
        CheckGroup->setChecked(true);
    }
    ChartResult->saveBitmap(chartPath);
    showResult();
    const auto problem = ComUnit::ProblemIni.snapshot();
    TFormWord word(
        DocumentOpener::destination(this, full ? TFormWord::Kind::FullReport : TFormWord::Kind::ShortReport));
    if (full)
        ResultReports::writeFull(word, *problem, m_result, chartPath);
    else
        ResultReports::writeShort(word, *problem, m_result, chartPath);
    // Told also when the viewer fails after it started, or nothing opens at all.
    STextSaved->showSaved(word.Close());
}
