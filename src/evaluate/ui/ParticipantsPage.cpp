#include "evaluate/ui/ParticipantsPage.h"

#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "report/GroupText.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"
#include "storage/IniFile.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The participants' table: the group, then "Я", then the respondents in section order.
constexpr int GroupRow = 0;
constexpr int FirstRespondentRow = 2;

QTableWidget* makeTable(QWidget* parent, const QString& name)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

// Every cell shows its whole text on hover: a name of 255 characters is cut to the column.
void fill(QTableWidget* table, const QStringList& columns, const QList<QStringList>& rows)
{
    table->clear();
    table->setColumnCount(int(columns.size()));
    table->setRowCount(int(rows.size()));
    for (int c = 0; c < columns.size(); ++c) {
        auto* header = new QTableWidgetItem(columns.at(c));
        header->setToolTip(columns.at(c));
        header->setData(Qt::UserRole, columns.at(c)); // the whole text, before elideHeader cuts it
        table->setHorizontalHeaderItem(c, header);
    }
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            auto* item = new QTableWidgetItem(rows.at(r).at(c));
            item->setToolTip(rows.at(r).at(c));
            table->setItem(r, c, item);
        }
    }
}

// A header centres its text and cuts a long one at both ends; cut at its end with "…", a name keeps its start.
void elideHeader(QTableWidget* table)
{
    QHeaderView* header = table->horizontalHeader();
    QObject::connect(header, &QHeaderView::sectionResized, table, [table, header](int section, int, int width) {
        QTableWidgetItem* item = table->horizontalHeaderItem(section);
        if (!item)
            return;
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        item->setText(
            QFontMetrics(header->font())
                .elidedText(item->data(Qt::UserRole).toString(), Qt::ElideRight, std::max(width - 2 * margin - 2, 0)));
    });
}

void setRowBold(QTableWidget* table, int row)
{
    for (int c = 0; c < table->columnCount(); ++c) {
        if (QTableWidgetItem* item = table->item(row, c)) {
            QFont face = item->font();
            face.setBold(true);
            item->setFont(face);
        }
    }
}

QLabel* makeText(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

} // namespace

ParticipantsPage::ParticipantsPage(IniFile& file, QWidget* parent) : QWidget(parent), m_file(file)
{
    setObjectName(u"PageParticipants"_s);
    auto* layout = new QVBoxLayout(this);
    LabelGroup = makeText(this, u"LabelGroup"_s);
    layout->addWidget(LabelGroup);
    TableParticipants = makeTable(this, u"TableParticipants"_s);
    layout->addWidget(TableParticipants, 3);
    elideHeader(TableParticipants);

    auto* row = new QHBoxLayout();
    ButDeleteRespondent =
        ScreenParts::makeButton(this, {u"ButDeleteRespondent", u"Удалить участника", QRect(),
                                       u"Удалить ответы выбранного участника из задачи", QStyle::SP_TrashIcon});
    ButDeleteRespondent->setAutoDefault(false);
    row->addWidget(ButDeleteRespondent);
    row->addWidget(new QLabel(u"Выберите строку участника (кроме «Я» и группы), чтобы удалить его ответы."_s, this), 1);
    layout->addLayout(row);

    TableConsensus = makeTable(this, u"TableConsensus"_s);
    TableConsensus->setSelectionMode(QAbstractItemView::NoSelection);
    TableConsensus->setWordWrap(false); // one line a matrix: all of them in sight, a long name in the tooltip
    layout->addWidget(TableConsensus, 2);
    LabelDisagreements = makeText(this, u"LabelDisagreements"_s);
    layout->addWidget(LabelDisagreements);
    TableDisagreements = makeTable(this, u"TableDisagreements"_s);
    TableDisagreements->setSelectionMode(QAbstractItemView::NoSelection);
    TableDisagreements->setWordWrap(true);
    layout->addWidget(TableDisagreements, 2);

    connect(TableParticipants, &QTableWidget::currentCellChanged, this,
            [this](int r) { ButDeleteRespondent->setEnabled(r >= FirstRespondentRow); });
    connect(ButDeleteRespondent, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButDeleteRespondentClick(); }); });
    refresh();
}

void ParticipantsPage::refresh()
{
    m_respondents = Respondents::load(m_file);
    const auto doc = m_file.snapshot();
    const ProblemData problem = ProblemData::load(*doc);
    const GroupResult group = GroupEvaluation::evaluate(problem, m_respondents);

    LabelGroup->setText(GroupText::introLine(group));
    fill(TableParticipants, GroupText::participantColumns(problem), GroupText::participantRows(problem, group));
    setRowBold(TableParticipants, GroupRow);
    // Names and the best choice take a fixed share; the priorities divide the rest.
    QHeaderView* header = TableParticipants->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    header->setSectionResizeMode(1, QHeaderView::Interactive);
    TableParticipants->setColumnWidth(0, 150);
    TableParticipants->setColumnWidth(1, 150);
    ButDeleteRespondent->setEnabled(false);

    fill(TableConsensus, GroupText::consensusColumns(), GroupText::consensusRows(problem, group));
    TableConsensus->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TableConsensus->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    TableConsensus->resizeRowsToContents();

    const QList<QStringList> disagreements = GroupText::disagreementRows(*doc, group);
    LabelDisagreements->setText(disagreements.isEmpty()
                                    ? u"Все участники ответили на каждый вопрос одинаково."_s
                                    : u"Вопросы, в ответах на которые участники расходятся больше всего, — их "
                                      u"стоит обсудить:"_s);
    fill(TableDisagreements, GroupText::disagreementColumns(), disagreements);
    TableDisagreements->setVisible(!disagreements.isEmpty());
    TableDisagreements->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableDisagreements->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void ParticipantsPage::ButDeleteRespondentClick()
{
    const int row = TableParticipants->currentRow();
    if (row < FirstRespondentRow || row - FirstRespondentRow >= m_respondents.size())
        return;
    const Respondent& r = m_respondents.at(row - FirstRespondentRow);
    if (!Dialogs::question(this, u"Вопрос"_s,
                           u"Удалить ответы участника «%1» из задачи? Вернуть их будет нельзя."_s.arg(r.name)))
        return;
    Respondents::remove(m_file, r.number);
    refresh();
    Q_EMIT respondentDeleted();
}
