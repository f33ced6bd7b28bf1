#include "compare/ui/TFormMain.h"

#include "compare/CompareStepsBuild.h"
#include "compare/Scale.h"
#include "compare/ui/ConsistencyLine.h"
#include "compare/ui/TrackBar.h"
#include "evaluate/LiveConsistency.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"
#include "storage/ProblemKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>

using namespace Qt::Literals::StringLiterals;
using ScreenParts::makeAction;
using ScreenParts::makeBackButton;
using ScreenParts::makeButton;
using ScreenParts::makeOnButton;
using ScreenParts::makePanel;

namespace {

constexpr int InfoHeight = 81;
constexpr int SideWidth = 185;
constexpr int MoveHeight = 50;
constexpr int MeraTextHeight = 160;
constexpr int BarHeight = 40;
constexpr int DigitsHeight = 150;
constexpr int DigitAWidth = 211;
constexpr int NumericHeight = 90;
constexpr int ConsistencyHeight = 32; // two lines at the foot of the judgement in words, which leaves them room

// A text of the screen, wrapped within its place.
QLabel* makeText(QWidget* parent, const QString& name, const QRect& geometry, int pixelSize, bool bold, bool white)
{
    QLabel* label = ScreenParts::makeText(parent, name, pixelSize, bold);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    if (white) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
    }
    return label;
}

QLineEdit* makeValueEdit(QWidget* parent, const QString& name, const QRect& geometry, const QString& placeholder)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setPlaceholderText(placeholder);
    return edit;
}

} // namespace

TFormMain::TFormMain(QWidget* parent) : WizardScreen(u"диалог сравнения"_s, parent)
{
    const int middleHeight = ClientHeight - InfoHeight - MoveHeight;
    PMove = makePanel(this, u"PMove"_s, QRect(0, ClientHeight - MoveHeight, ClientWidth, MoveHeight));
    PInfo = makePanel(this, u"PInfo"_s, QRect(0, 0, ClientWidth, InfoHeight));
    PA = makePanel(this, u"PA"_s, QRect(0, InfoHeight, SideWidth, middleHeight));
    PB = makePanel(this, u"PB"_s, QRect(ClientWidth - SideWidth, InfoHeight, SideWidth, middleHeight));
    PMera = makePanel(this, u"PMera"_s, QRect(SideWidth, InfoHeight, ClientWidth - 2 * SideWidth, middleHeight));

    buildStepBar();
    // The pair on top, each of its elements on its own side.
    STextTop = makeText(PInfo, u"STextTop"_s, PInfo->contentsRect(), 16, false, true);
    STextTop->setText(u"***"_s);
    STextA = makeText(PA, u"STextA"_s, PA->contentsRect(), 16, false, true);
    STextB = makeText(PB, u"STextB"_s, PB->contentsRect(), 16, false, true);
    buildMeasure();
    buildNumericAid();
    buildRevision();

    Next = makeAction(this, u"Next"_s, u"Продолжить"_s);
    Prev = makeAction(this, u"Prev"_s, u"Вернуться"_s);
    connect(Next, &QAction::triggered, this, [this] { ErrorBox::guarded(this, [this] { NextExecute(); }); });
    connect(Prev, &QAction::triggered, this, [this] { ErrorBox::guarded(this, [this] { PrevExecute(); }); });
    connect(ButNext, &QPushButton::clicked, Next, &QAction::trigger);
    connect(ButPrev, &QPushButton::clicked, Prev, &QAction::trigger);
    // activated comes from the user's pick only, also of the row already shown.
    connect(CBoxStep, &QComboBox::activated, this,
            [this](int index) { ErrorBox::guarded(this, [this, index] { CBoxStepChange(index); }); });
    connect(TBarMera, &QSlider::valueChanged, this, &TFormMain::ChangeExecute);
    connect(ButRunNumer, &QPushButton::clicked, this, &TFormMain::ButRunNumerClick);

    setReadingOrder({TBarMera, ButRunNumer, EdA, ChBLowerBetter, EdB, ButPrev, CBoxStep, ButNext});
}

// "Вернуться", the step list with "Шаг 3 из 30" under it, and "Продолжить".
void TFormMain::buildStepBar()
{
    ButPrev = makeBackButton(PMove, {20, 8}, ScreenParts::BackTip);
    ButNext = makeOnButton(PMove, {667, 8}, ScreenParts::OnTip);
    CBoxStep = new QComboBox(PMove);
    CBoxStep->setObjectName(u"CBoxStep"_s);
    CBoxStep->setEditable(false);
    CBoxStep->setGeometry(130, 9, 519, 24);
    CBoxStep->setToolTip(u"Перейти к выбранному шагу"_s);
    // Some styles open a non-editable list as a menu over the whole screen and
    // ignore the row count; the plain list popup keeps to it.
    CBoxStep->setStyleSheet(u"QComboBox { combobox-popup: 0; }"_s);
    // Under the step list, in the room the panel leaves below it.
    STextStep = new QLabel(PMove);
    STextStep->setObjectName(u"STextStep"_s);
    STextStep->setGeometry(130, 34, 519, 14);
    STextStep->setAlignment(Qt::AlignCenter);
    QFont stepFace = STextStep->font();
    stepFace.setPixelSize(11);
    STextStep->setFont(stepFace);
}

// Top down in the middle panel: the judgement in words, the track bar, the two
// numbers of the ratio side by side.
void TFormMain::buildMeasure()
{
    const QRect inner = PMera->contentsRect();
    int top = inner.top();
    STMera = makeText(PMera, u"STMera"_s, QRect(inner.left(), top, inner.width(), MeraTextHeight), 16, true, true);
    top += MeraTextHeight;
    STextConsistency = ScreenParts::makeText(STMera, u"STextConsistency"_s, 12, false);
    STextConsistency->setWordWrap(true);
    STextConsistency->setGeometry(0, MeraTextHeight - ConsistencyHeight, inner.width(), ConsistencyHeight);
    STMera->setContentsMargins(0, 0, 0, ConsistencyHeight);
    TBarMera = new TrackBar(PMera);
    TBarMera->setObjectName(u"TBarMera"_s);
    TBarMera->setGeometry(inner.left(), top, inner.width(), BarHeight);
    top += BarHeight;
    PanA = makeText(PMera, u"PanA"_s, QRect(inner.left(), top, DigitAWidth, DigitsHeight), 48, false, false);
    PanB = makeText(PMera, u"PanB"_s, QRect(inner.left() + DigitAWidth, top, inner.width() - DigitAWidth, DigitsHeight),
                    48, false, false);
    for (QLabel* digits : {PanA, PanB})
        digits->setFrameShape(QFrame::StyledPanel);
}

// At the foot of the middle panel: two values to compare as numbers, and the button that proposes their grade.
void TFormMain::buildNumericAid()
{
    const QRect inner = PMera->contentsRect();
    Panel1 =
        makePanel(PMera, u"Panel1"_s,
                  QRect(inner.left(), PMera->height() - NumericHeight - inner.left(), inner.width(), NumericHeight));
    QFont numericFace = Panel1->font();
    numericFace.setPixelSize(13);
    numericFace.setBold(true);
    Panel1->setFont(numericFace);
    Label1 = new QLabel(u"ПОЛОСА СРАВНЕНИЯ"_s, Panel1);
    Label1->setObjectName(u"Label1"_s);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(0, 4, inner.width(), 18);
    ButRunNumer = makeButton(Panel1, u"ButRunNumer"_s, u"Сравнить числовые значения"_s, QRect(75, 24, 270, 25));
    EdA = makeValueEdit(Panel1, u"EdA"_s, QRect(20, 56, 120, 24), u"значение A"_s);
    ChBLowerBetter = new QCheckBox(u"меньше — лучше"_s, Panel1);
    ChBLowerBetter->setObjectName(u"ChBLowerBetter"_s);
    ChBLowerBetter->setGeometry(146, 56, 130, 24);
    QFont boxFace = ChBLowerBetter->font(); // the panel's bold face would not fit between the fields
    boxFace.setBold(false);
    boxFace.setPixelSize(12);
    ChBLowerBetter->setFont(boxFace);
    EdB = makeValueEdit(Panel1, u"EdB"_s, QRect(280, 56, 120, 24), u"значение B"_s);
    for (QLineEdit* edit : {EdA, EdB}) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::returnPressed, this, &TFormMain::ButRunNumerClick);
    }
}

// In the numeric aid's place: the answer the rest of the matrix agrees on, the button that sets it, and the short
// way back to the results.
void TFormMain::buildRevision()
{
    PRevision = makePanel(PMera, u"PRevision"_s, Panel1->geometry());
    PRevision->hide();
    const int width = PRevision->width();
    STextSuggested = ScreenParts::makeText(PRevision, u"STextSuggested"_s, 12, false);
    STextSuggested->setGeometry(6, 2, width - 12, 52);
    STextSuggested->setWordWrap(true);
    ButSuggested = makeButton(PRevision, u"ButSuggested"_s, u"Установить этот ответ"_s, QRect(20, 58, 180, 25));
    ButSuggested->setToolTip(u"Поставить ползунок на ответ, с которым согласуются остальные ответы"_s);
    ButToResults = makeButton(PRevision, u"ButToResults"_s, u"К результатам"_s, QRect(width - 200, 58, 180, 25));
    ButToResults->setToolTip(u"Сохранить ответ и сразу вернуться к результатам и анализу решения"_s);
    connect(ButSuggested, &QPushButton::clicked, this, [this] { TBarMera->setValue(m_suggestedPosition); });
    connect(ButToResults, &QPushButton::clicked, this, [this] {
        ErrorBox::guarded(this, [this] {
            SaveStep();
            m_revisionStep = -1;
            Q_EMIT toResults();
        });
    });
}

void TFormMain::openRevision(int step)
{
    ComUnit::CurrentStep = step;
    m_revisionStep = step;
}

void TFormMain::showRevision()
{
    if (ComUnit::CurrentStep != m_revisionStep)
        m_revisionStep = -1;
    const bool revising = m_revisionStep >= 0 && m_liveFirst >= 0;
    PRevision->setVisible(revising);
    Panel1->setVisible(!revising);
    if (!revising)
        return;
    const int suggested = LiveConsistency::suggestedJudgement(m_live, m_liveCriterion, m_liveFirst, m_liveSecond);
    m_suggestedPosition = Scale::JudgementToPosition(suggested);
    const Scale::PairKind kind = m_stepKind == u'Q' ? Scale::PairKind::Criteria : Scale::PairKind::Alternatives;
    const QString whole =
        u"С остальными ответами согласуется: "_s + Scale::dialogSentence(kind, m_nameA, m_nameB, m_suggestedPosition);
    // Names of some hundred characters are cut here; the sentence above the bar and the tooltip give them whole.
    const auto cut = [](const QString& name) { return name.size() > 40 ? name.left(39) + u'…' : name; };
    STextSuggested->setText(u"С остальными ответами согласуется: "_s +
                            Scale::dialogSentence(kind, cut(m_nameA), cut(m_nameB), m_suggestedPosition));
    STextSuggested->setToolTip(whole);
}

void TFormMain::load()
{
    BuildCompareSteps();
    ShowStep();
}

void TFormMain::BuildCompareSteps()
{
    const QSignalBlocker blocker(CBoxStep);
    CBoxStep->clear();
    CBoxStep->addItems(CompareStepsBuild::stepCaptions(*ComUnit::ProblemIni.snapshot(), ComUnit::CompareSteps));
    CBoxStep->setMaxVisibleItems(qMin(CBoxStep->count(), MaxDropDownRows));
}

bool TFormMain::hasStep() const
{
    return ComUnit::CurrentStep >= 0 && ComUnit::CurrentStep < ComUnit::CompareSteps.size();
}

void TFormMain::ShowStep()
{
    using namespace ProblemKeys;
    if (!hasStep())
        return;
    const auto doc = ComUnit::ProblemIni.snapshot();
    if (ComUnit::StepPart(ComUnit::StepParts::Key).startsWith(u'Q')) {
        m_stepKind = u'Q';
        m_nameA = readName(*doc, QualSection, ComUnit::StepPart(ComUnit::StepParts::FirstItem));
        m_nameB = readName(*doc, QualSection, ComUnit::StepPart(ComUnit::StepParts::SecondCriterion));
        STextTop->setText(u"Сравнение критериев "_s + m_nameA + u" и "_s + m_nameB + u" по степени важности."_s);
    } else {
        m_stepKind = u'A';
        m_nameA = readName(*doc, AltSection, ComUnit::StepPart(ComUnit::StepParts::FirstAlternative));
        m_nameB = readName(*doc, AltSection, ComUnit::StepPart(ComUnit::StepParts::SecondAlternative));
        STextTop->setText(u"Сравнение альтернатив "_s + m_nameA + u" и "_s + m_nameB + u" по критерию "_s +
                          readName(*doc, QualSection, ComUnit::StepPart(ComUnit::StepParts::Criterion)) + u"."_s);
    }
    m_live = ProblemData::load(*doc);
    const CompareStepsBuild::StepPair pair =
        CompareStepsBuild::stepPair(ComUnit::CompareSteps.at(ComUnit::CurrentStep));
    m_liveCriterion = pair.criterion;
    m_liveFirst = pair.first;
    m_liveSecond = pair.second;
    // A step list older than the file may name a pair the problem no longer has.
    const int order = pair.criterion < 0 ? m_live.critTotal() : m_live.altTotal();
    if (m_liveSecond >= order || m_liveCriterion >= m_live.critTotal())
        m_liveFirst = m_liveSecond = -1;
    STextA->setText(u"(A) "_s + m_nameA);
    STextB->setText(u"(B) "_s + m_nameB);
    const int value = doc->readInteger(JudgementSection, ComUnit::StepPart(ComUnit::StepParts::Key), 1);
    {
        // The display follows below once, whether or not the position changes.
        const QSignalBlocker blocker(TBarMera);
        TBarMera->setValue(Scale::JudgementToPosition(value));
    }
    ChangeExecute();
    showRevision();
    {
        const QSignalBlocker blocker(CBoxStep);
        CBoxStep->setCurrentIndex(ComUnit::CurrentStep);
    }
    STextStep->setText(u"Шаг %1 из %2"_s.arg(ComUnit::CurrentStep + 1).arg(ComUnit::CompareSteps.size()));
    EdA->clear();
    EdB->clear();
}

void TFormMain::SaveStep()
{
    if (!hasStep())
        return;
    ComUnit::ProblemIni.writeInteger(ProblemKeys::JudgementSection, ComUnit::StepPart(ComUnit::StepParts::Key),
                                     Scale::PositionToJudgement(TBarMera->value()));
}

void TFormMain::NextExecute()
{
    SaveStep();
    if (ComUnit::CurrentStep >= ComUnit::CompareSteps.size() - 1) {
        Q_EMIT forward();
        return;
    }
    ++ComUnit::CurrentStep;
    ShowStep();
}

void TFormMain::PrevExecute()
{
    SaveStep();
    if (ComUnit::CurrentStep < 1) {
        Q_EMIT back();
        return;
    }
    --ComUnit::CurrentStep;
    ShowStep();
}

void TFormMain::CBoxStepChange(int index)
{
    SaveStep();
    ComUnit::CurrentStep = index;
    ShowStep();
}

void TFormMain::ChangeExecute()
{
    const Scale::PairKind kind = m_stepKind == u'Q' ? Scale::PairKind::Criteria : Scale::PairKind::Alternatives;
    const int p = TBarMera->value();
    STMera->setText(Scale::dialogSentence(kind, m_nameA, m_nameB, p));
    PanA->setText(Scale::aDigit(p));
    PanB->setText(Scale::bDigit(p));
    showConsistency(p);
}

void TFormMain::showConsistency(int position)
{
    if (m_liveFirst < 0) {
        STextConsistency->clear();
        return;
    }
    const int value = Scale::PositionToJudgement(position);
    if (m_liveCriterion < 0)
        m_live.setCritJudgement(m_liveFirst, m_liveSecond, value);
    else
        m_live.setAltJudgement(m_liveFirst, m_liveSecond, m_liveCriterion, value);
    const double ratio = LiveConsistency::ratioOf(m_live, m_liveCriterion);
    ConsistencyLine::show(STextConsistency, ratio);
}

void TFormMain::ButRunNumerClick()
{
    // A lower value that is better (a price) turns the proposal round: the same grade, for the other element.
    if (const auto p = Scale::numericTextsToPosition(EdA->text(), EdB->text(), QLocale()))
        TBarMera->setValue(ChBLowerBetter->isChecked() ? -*p : *p);
}

bool TFormMain::EdAKeyPress(QLineEdit* edit, QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString filtered = Scale::filterDecimalKey(typed, QLocale());
    if (filtered == typed)
        return false;
    edit->insert(filtered);
    return true;
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == EdA || watched == EdB) && event->type() == QEvent::KeyPress &&
        EdAKeyPress(static_cast<QLineEdit*>(watched), static_cast<QKeyEvent*>(event)))
        return true;
    return WizardScreen::eventFilter(watched, event);
}
