#pragma once

#include "shell/ui/WizardScreen.h"

#include <QString>

#include <array>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;

/// The compact comparison: all pairs of one matrix on one page, a track bar per
/// pair. The criteria page comes first, then one page per criterion. A move of a
/// bar by the user is stored at once; showing a page stores nothing.
class TFormSolQ final : public WizardScreen
{
    Q_OBJECT

public:
    /// The screen serves at most this many criteria and alternatives.
    static constexpr int Positions = 5;
    static constexpr int RowCount = Positions * (Positions - 1) / 2;
    /// The page of the criteria; 0 to 4 are the alternatives under that criterion.
    static constexpr int CriteriaPage = -1;

    explicit TFormSolQ(QWidget* parent = nullptr);

    /// Reads the names and displays the page Page.
    void load() override;

    void LoadNames();
    void ShowCriteriaPage();
    /// Nothing happens when criterion k does not exist.
    void ShowAlternativesPage(int k);

    /// The next showing opens the page of the matrix of step line step with its row marked, for a revision from
    /// the decision analysis; the mark goes when the page is left.
    void openRevision(int step);

    /// The page on screen (or to be shown by the next load()).
    qint32 Page = CriteriaPage;

Q_SIGNALS:
    /// "Продолжить" past the last page: the results come next.
    void forward();
    /// "Вернуться" on the criteria page: the criteria list comes next.
    void back();

private:
    struct Row
    {
        int i = 0;
        int j = 0;
        QFrame* panel = nullptr;
        QLabel* sentence = nullptr; // SText d
        QLabel* endI = nullptr;     // SText d _i
        QLabel* endJ = nullptr;     // SText d _j
        QSlider* bar = nullptr;     // TBarMera d
    };

    void buildRow(int index, int i, int j);
    void ShowCriteriaPair(int i, int j);
    void ShowAlternativesPair(int i, int j, int k);
    void showPair(Row& row, const QString& nameA, const QString& nameB, int v, bool criteria);
    void showPage();
    /// The user moved the bar of a row to position p.
    void TBarMera01Change(const Row& row, int p);
    void ButNextClick();
    void ButPrevClick();
    Row& rowOf(int i, int j);
    /// The consistency of the page's matrix (criterion -1: the criteria) from the file's present values.
    void showConsistency(int criterion);
    void showMark();

    QFrame* PMove = nullptr;
    QPushButton* ButNext = nullptr;
    QPushButton* ButPrev = nullptr;
    QPlainTextEdit* MemoInf = nullptr;
    QLabel* STextConsistency = nullptr; // inside the memo, under its lines
    std::array<Row, RowCount> m_rows;
    /// The row marked for a revision: its page and pair; page -2 for none.
    int m_markedPage = -2;
    int m_markedFirst = -1;
    int m_markedSecond = -1;

    std::array<QString, Positions> QualNames;
    std::array<QString, Positions> AltNames;
    std::array<std::array<qint32, Positions>, Positions> CritJudgements{};
    std::array<std::array<std::array<qint32, Positions>, Positions>, Positions> AltJudgements{};
};
