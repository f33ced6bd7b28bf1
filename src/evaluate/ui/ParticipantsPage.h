#pragma once

#include "storage/Respondents.h"

#include <QWidget>

class IniFile;
class QLabel;
class QPushButton;
class QTableWidget;

/// The page "Участники" of the decision analysis: every participant's best choice and overall priorities beside
/// the group's, the consensus of every matrix and of the overall priorities, the questions disagreed on most,
/// and the deletion of a respondent. It reads the problem file as it is now and reads it again after a deletion.
class ParticipantsPage final : public QWidget
{
    Q_OBJECT

public:
    static constexpr char16_t Title[] = u"Участники";

    explicit ParticipantsPage(IniFile& file, QWidget* parent = nullptr);

    /// Whether the file holds any respondent (the page has something to show).
    bool hasRespondents() const { return !m_respondents.isEmpty(); }

Q_SIGNALS:
    /// A respondent was deleted from the file; the page shows the rest.
    void respondentDeleted();

private:
    void refresh();
    void ButDeleteRespondentClick();

    IniFile& m_file;
    QList<Respondent> m_respondents;

    QLabel* LabelGroup = nullptr;
    QTableWidget* TableParticipants = nullptr;
    QTableWidget* TableConsensus = nullptr;
    QLabel* LabelDisagreements = nullptr;
    QTableWidget* TableDisagreements = nullptr;
    QPushButton* ButDeleteRespondent = nullptr;
};
