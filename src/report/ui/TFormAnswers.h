#pragma once

#include "storage/Respondents.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <optional>
#include <vector>

class IniFile;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

/// The answers of a printed questionnaire typed back by number, one respondent at a time: every question in the
/// order printed, each answer shown in words with the names filled in, stored as that respondent's section of
/// the problem file.
///
/// A window-modal child of the criteria screen, deleted when closed; closing it with answers not stored asks
/// first.
class TFormAnswers final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char16_t Caption[] = u"ввод ответов анкеты";
    enum Column { QuestionColumn, AnswerColumn, SentenceColumn };

    /// steps: the comparison step list as the criteria screen rebuilt it; question p + 1 is line p.
    TFormAnswers(IniFile& file, const QStringList& steps, QWidget* parent = nullptr);
    ~TFormAnswers() override;

    /// The answer number of every question as the table holds it, nothing where it is not answered.
    const std::vector<std::optional<int>>& answers() const { return m_answers; }
    bool isModified() const { return m_modified; }
    /// The editor of an answer cell while one is open.
    QLineEdit* answerEditor() const { return m_editor; }

    /// Opens the answer cell of question p + 1 for typing.
    void editAnswer(int p);
    /// The stored answers of the first respondent named name; for a name not stored the answers typed stay, to
    /// be stored under it. Asks before answers not stored are lost.
    void openName(const QString& name);
    /// Stores the respondent under the name typed, in one replacement of the file. False when refused.
    bool save();

public Q_SLOTS:
    /// Closes unless answers not stored are to be kept (asks first).
    void reject() override;

private:
    void buildTable();
    void reloadRespondents();
    void showAnswers(const std::vector<std::optional<int>>& answers);
    /// The answer cell of row p was committed with text.
    void answerCommitted(int p);
    /// Shows in row p's sentence what the text typed in its cell stands for.
    void showTyped(int p, const QString& text);
    void showCount();

    IniFile& m_file;
    QStringList m_steps;
    QList<Respondent> m_respondents;
    std::vector<std::optional<int>> m_answers;
    /// The number of the respondent whose answers the table started from, -1 for a new one.
    int m_openNumber = -1;
    bool m_modified = false;
    bool m_filling = false; // the table is being filled by the program, not typed in
    QPointer<QLineEdit> m_editor;

    QComboBox* CBoxName = nullptr;
    QTableWidget* TableAnswers = nullptr;
    QLabel* LabelHint = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* ButSave = nullptr;
    QPushButton* ButClose = nullptr;
    QLabel* LabelCount = nullptr;
};
