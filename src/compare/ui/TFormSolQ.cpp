#include "compare/ui/TFormSolQ.h"

#include "compare/CompareStepsBuild.h"
#include "compare/Scale.h"
#include "compare/ui/ConsistencyLine.h"
#include "compare/ui/TrackBar.h"
#include "evaluate/LiveConsistency.h"
#include "evaluate/ProblemData.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int RowHeight = 51;
constexpr int EndWidth = 80;
constexpr int EndHeight = 45;
// The sentence above a bar has room for two lines of the smaller face; the bar keeps the rest of the row.
constexpr int SentenceHeight = 26;
constexpr int SentencePixels = 13;
constexpr int SmallSentencePixels = 11;
constexpr int MoveHeight = 55;
constexpr int ConsistencyHeight = 15; // the memo's foot, under its lines

// The help memo, with room at its foot for a line of its own that does not scroll away.
class InfoMemo final : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;
    using QPlainTextEdit::setViewportMargins;
};

QString pageHelp()
{
    return u"Сравнение осуществляется путем перемещения соответствующих указателей."_s;
}

// A row's sentence is read whole: on one line in the row's face when it fits,
// otherwise on two lines of a smaller face. Only a sentence that two lines cannot
// hold (names of some hundred characters) ends in "…"; its tooltip then gives
// the whole sentence. text is what the row shows, whole the sentence uncut.
void showSentence(QLabel* label, const QString& text, const QString& whole)
{
    const int width = label->contentsRect().width();
    QFont face = label->font();
    face.setPixelSize(SentencePixels);
    QString shown = text;
    if (QFontMetrics(face).horizontalAdvance(text) > width) {
        face.setPixelSize(SmallSentencePixels);
        QTextLayout layout(text, face);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine first = layout.createLine();
        first.setLineWidth(width);
        const QString rest = text.mid(first.textStart() + first.textLength()).trimmed();
        layout.endLayout();
        shown = text.left(first.textStart() + first.textLength()).trimmed();
        if (!rest.isEmpty())
            shown += u'\n' + QFontMetrics(face).elidedText(rest, Qt::ElideRight, width);
    }
    label->setFont(face);
    label->setText(shown);
    label->setToolTip(QString(shown).replace(u'\n', u' ') == whole ? QString() : whole);
}

} // namespace

TFormSolQ::TFormSolQ(QWidget* parent) : WizardScreen(QString(), parent)
{
    // Every page display sets its own caption; until then the design caption stands alone.
    setWindowTitle(u"Сравнение критериев по степени важности"_s);

    PMove = ScreenParts::makePanel(this, u"PMove"_s, QRect(0, ClientHeight - MoveHeight, ClientWidth, MoveHeight));
    ButNext = ScreenParts::makeOnButton(PMove, {648, 8});
    ButPrev = ScreenParts::makeBackButton(PMove, {48, 8}, ScreenParts::BackTip);
    auto* memo = new InfoMemo(PMove);
    MemoInf = memo;
    MemoInf->setObjectName(u"MemoInf"_s);
    MemoInf->setReadOnly(true);
    MemoInf->setGeometry(170, 2, 460, 48);
    // Both help lines in the memo's height: the lines wrap, so no bar across takes their room.
    MemoInf->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont memoFace = MemoInf->font();
    memoFace.setPixelSize(11);
    MemoInf->setFont(memoFace);
    memo->setViewportMargins(0, 0, 0, ConsistencyHeight);
    STextConsistency = ScreenParts::makeText(MemoInf, u"STextConsistency"_s, 11, false);
    const QRect inside = MemoInf->contentsRect();
    // Left of where the scroll bar may stand.
    const int bar = MemoInf->verticalScrollBar()->sizeHint().width();
    STextConsistency->setGeometry(inside.left(), inside.bottom() + 1 - ConsistencyHeight, inside.width() - bar,
                                  ConsistencyHeight);

    int index = 0;
    for (int i = 0; i < Positions; ++i) {
        for (int j = i + 1; j < Positions; ++j)
            buildRow(index++, i, j);
    }

    connect(ButNext, &QPushButton::clicked, this, [this] { ErrorBox::guarded(this, [this] { ButNextClick(); }); });
    connect(ButPrev, &QPushButton::clicked, this, [this] { ErrorBox::guarded(this, [this] { ButPrevClick(); }); });

    QList<QWidget*> order;
    for (const Row& row : m_rows)
        order.append(row.bar);
    setReadingOrder(order << ButPrev << MemoInf << ButNext);
}

// Row index, of the pair (i, j): the names at both ends, the sentence above the
// bar between them. Its controls are named after the pair's digits d = "ij".
void TFormSolQ::buildRow(int index, int i, int j)
{
    Row& row = m_rows[index];
    row.i = i;
    row.j = j;
    const QString d = QString::number(i) + QString::number(j);
    // The last row keeps the panel name it was designed with.
    row.panel = ScreenParts::makePanel(this, index == RowCount - 1 ? u"Panel25"_s : u"Panel"_s + d,
                                       QRect(0, index * RowHeight, ClientWidth, RowHeight), QFrame::Box);
    row.panel->setAutoFillBackground(true);
    QPalette white = row.panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    row.panel->setPalette(white);

    row.endI = ScreenParts::makeText(row.panel, u"SText"_s + d + u'_' + QString::number(i), 33, true);
    row.endI->setGeometry(3, 3, EndWidth, EndHeight);
    row.endJ = ScreenParts::makeText(row.panel, u"SText"_s + d + u'_' + QString::number(j), 33, true);
    row.endJ->setGeometry(ClientWidth - EndWidth - 3, 3, EndWidth, EndHeight);

    const int innerWidth = ClientWidth - 2 * (EndWidth + 3);
    QFrame* inner = ScreenParts::makePanel(row.panel, u"PInner"_s + d,
                                           QRect(EndWidth + 3, 1, innerWidth, RowHeight - 2), QFrame::NoFrame);
    row.sentence = ScreenParts::makeText(inner, u"SText"_s + d, SentencePixels, true);
    row.sentence->setGeometry(0, 0, innerWidth, SentenceHeight);
    row.sentence->setAutoFillBackground(true);
    row.sentence->setBackgroundRole(QPalette::Button);
    row.bar = new TrackBar(inner);
    row.bar->setObjectName(u"TBarMera"_s + d);
    row.bar->setToolTip(d);
    row.bar->setGeometry(0, SentenceHeight, innerWidth, RowHeight - 2 - SentenceHeight);
    // Displays block the bars' signals, so only a move by the user arrives here.
    connect(row.bar, &QSlider::valueChanged, this, [this, index](int p) { TBarMera01Change(m_rows[index], p); });
}

void TFormSolQ::load()
{
    LoadNames();
    showPage();
}

void TFormSolQ::LoadNames()
{
    for (int i = 0; i < Positions; ++i) {
        QualNames[i] = ComUnit::ReadQualName(i);
        AltNames[i] = ComUnit::ReadAltName(i);
    }
}

void TFormSolQ::showPage()
{
    if (Page == CriteriaPage)
        ShowCriteriaPage();
    else
        ShowAlternativesPage(Page);
}

TFormSolQ::Row& TFormSolQ::rowOf(int i, int j)
{
    // Rows run 01, 02, 03, 04, 12, ...: the rows of every smaller first position come before.
    return m_rows[i * (2 * Positions - i - 1) / 2 + (j - i - 1)];
}

void TFormSolQ::ShowCriteriaPage()
{
    setWindowTitle(QString::fromUtf16(TitlePrefix) + u"сравнение критериев по степени важности"_s);
    MemoInf->setPlainText(u"На этом шаге Вам необходимо сравнить критериии между собой по степени важности.\n"_s +
                          pageHelp());
    for (const Row& row : m_rows)
        CritJudgements[row.i][row.j] = ComUnit::ReadQualM(row.i, row.j);
    for (const Row& row : m_rows)
        ShowCriteriaPair(row.i, row.j);
    showConsistency(CriteriaPage);
    showMark();
}

void TFormSolQ::ShowAlternativesPage(int k)
{
    if (k < 0 || k >= Positions || QualNames[k].isEmpty())
        return;
    setWindowTitle(QString::fromUtf16(TitlePrefix) + u"сравнение альтернатив по критерию "_s + QualNames[k]);
    MemoInf->setPlainText(u"На этом шаге Вам необходимо сравнить альтернативы между собой по критерию "_s +
                          QualNames[k] + u".\n"_s + pageHelp());
    for (const Row& row : m_rows)
        AltJudgements[row.i][row.j][k] = ComUnit::ReadAltM(row.i, row.j, k);
    for (const Row& row : m_rows)
        ShowAlternativesPair(row.i, row.j, k);
    showConsistency(k);
    showMark();
}

void TFormSolQ::openRevision(int step)
{
    const CompareStepsBuild::StepPair pair = CompareStepsBuild::stepPair(ComUnit::CompareSteps.value(step));
    if (pair.first < 0 || pair.second >= Positions || pair.criterion >= Positions)
        return;
    Page = pair.criterion < 0 ? CriteriaPage : pair.criterion;
    m_markedPage = Page;
    m_markedFirst = pair.first;
    m_markedSecond = pair.second;
}

// The row to revise stands out in yellow, the others stay white.
void TFormSolQ::showMark()
{
    for (Row& row : m_rows) {
        const bool marked = Page == m_markedPage && row.i == m_markedFirst && row.j == m_markedSecond;
        QPalette palette = row.panel->palette();
        palette.setColor(QPalette::Window, marked ? QColor(255, 236, 150) : QColor(Qt::white));
        row.panel->setPalette(palette);
        row.panel->setToolTip(marked ? u"Этот ответ стоит пересмотреть"_s : QString());
    }
}

void TFormSolQ::showConsistency(int criterion)
{
    const double ratio = LiveConsistency::ratioOf(ProblemData::load(*ComUnit::ProblemIni.snapshot()), criterion);
    ConsistencyLine::show(STextConsistency, ratio, true);
}

void TFormSolQ::ShowCriteriaPair(int i, int j)
{
    showPair(rowOf(i, j), QualNames[i], QualNames[j], CritJudgements[i][j], true);
}

void TFormSolQ::ShowAlternativesPair(int i, int j, int k)
{
    showPair(rowOf(i, j), AltNames[i], AltNames[j], AltJudgements[i][j][k], false);
}

void TFormSolQ::showPair(Row& row, const QString& nameA, const QString& nameB, int v, bool criteria)
{
    const QSignalBlocker blocker(row.bar);
    if (nameA.isEmpty() || nameB.isEmpty()) {
        showSentence(row.sentence, u"-"_s, u"-"_s);
        row.bar->setValue(0);
        row.bar->setEnabled(false);
        row.endI->setText(u"-"_s);
        row.endJ->setText(u"-"_s);
        return;
    }
    const Scale::PairKind kind = criteria ? Scale::PairKind::Criteria : Scale::PairKind::Alternatives;
    showSentence(row.sentence,
                 criteria ? Scale::CriteriaPhrase(nameA, nameB, v) : Scale::AlternativesPhrase(nameA, nameB, v),
                 Scale::sentence(kind, nameA, nameB, Scale::JudgementToPosition(v)));
    row.bar->setEnabled(true);
    row.bar->setValue(Scale::JudgementToPosition(v));
    // The number grows on the side of the element the bar favours.
    row.endI->setText(v < 0 ? QString::number(-qint64(v)) : u"1"_s);
    row.endJ->setText(v > 0 ? QString::number(v) : u"1"_s);
}

void TFormSolQ::TBarMera01Change(const Row& row, int p)
{
    const int v = Scale::PositionToJudgement(p);
    ErrorBox::guarded(this, [&] {
        if (Page == CriteriaPage)
            ComUnit::WriteQualM(row.i, row.j, v);
        else
            ComUnit::WriteAltM(row.i, row.j, Page, v);
    });
    // Also after a failed store: the page then shows what the file holds.
    showPage();
}

void TFormSolQ::ButNextClick()
{
    m_markedPage = -2;
    if (Page == CriteriaPage) {
        Page = 0;
        ShowAlternativesPage(Page);
    } else if (Page < Positions - 1 && !QualNames[Page + 1].isEmpty()) {
        ++Page;
        ShowAlternativesPage(Page);
    } else {
        Q_EMIT forward();
    }
}

void TFormSolQ::ButPrevClick()
{
    m_markedPage = -2;
    if (Page > 0) {
        --Page;
        ShowAlternativesPage(Page);
    } else if (Page == 0) {
        Page = CriteriaPage;
        ShowCriteriaPage();
    } else {
        Q_EMIT back();
    }
}
