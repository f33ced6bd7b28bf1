#include "report/ui/TFormAnswers.h"

#include "report/Questionnaire.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/QuestionnaireAnswers.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;
namespace QA = QuestionnaireAnswers;

namespace {

constexpr int StripHeight = 50;
const QColor RefusedColour(200, 30, 30);
const QColor NoAnswerColour(120, 120, 120);
const QString NoAnswer = u"нет ответа"_s;
const QString Hint = u"Введите номер ответа из анкеты (от 1 до 17) и нажмите Enter: курсор перейдёт к следующему "
                     u"вопросу. Пустая ячейка — нет ответа."_s;

QString refusal(const QString& typed)
{
    return u"Ответа с номером «%1» нет: номера ответов — от 1 до 17."_s.arg(typed.trimmed());
}

// Only digits get into an answer cell. A number that is no answer (0, 18, 99) stays visible so that the person
// typing sees what was refused, but Enter does not take it; three digits are never an answer.
class AnswerValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        const QString t = input.trimmed();
        if (t.size() > 2 || std::any_of(t.cbegin(), t.cend(), [](QChar c) { return !c.isDigit(); }))
            return Invalid;
        return QA::readAnswer(t).kind == QA::AnswerText::Kind::Refused ? Intermediate : Acceptable;
    }
};

// The answer cells: a small editor that reports every keystroke, and writes back only what is an answer.
class AnswerDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<void(QLineEdit*, int)> opened;
    std::function<void(int, const QString&)> typed;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(u"EdAnswer"_s);
        edit->setValidator(new AnswerValidator(edit));
        edit->setAlignment(Qt::AlignCenter);
        const int row = index.row();
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this, row](const QString& text) { typed(row, text); });
        opened(edit, row);
        return edit;
    }

    // What was in the cell is selected: a number typed replaces it.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        QStyledItemDelegate::setEditorData(editor, index);
        static_cast<QLineEdit*>(editor)->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QA::AnswerText answer = QA::readAnswer(static_cast<QLineEdit*>(editor)->text());
        if (answer.kind == QA::AnswerText::Kind::Refused)
            return; // the cell keeps the answer it had
        model->setData(index, answer.kind == QA::AnswerText::Kind::Answer ? QString::number(answer.answer) : QString());
    }
};

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(text); // a name of 255 characters without a blank cannot wrap: the cell ends it with "…"
    return item;
}

} // namespace

TFormAnswers::TFormAnswers(IniFile& file, const QStringList& steps, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_file(file), m_steps(steps), m_answers(std::size_t(steps.size()))
{
    setObjectName(u"FormAnswers"_s);
    setWindowTitle(QString::fromUtf16(WizardScreen::TitlePrefix) + QString::fromUtf16(Caption));
    setFixedSize(WizardScreen::ClientWidth, WizardScreen::ClientHeight);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);

    const int top = WizardScreen::ClientHeight - StripHeight;
    auto* body = new QWidget(this);
    body->setGeometry(0, 0, WizardScreen::ClientWidth, top);
    auto* layout = new QVBoxLayout(body);

    auto* nameRow = new QHBoxLayout();
    auto* nameCaption = new QLabel(u"Участник (имя или фамилия, как на анкете):"_s, body);
    nameRow->addWidget(nameCaption);
    CBoxName = new QComboBox(body);
    CBoxName->setObjectName(u"CBoxName"_s);
    CBoxName->setEditable(true);
    CBoxName->setInsertPolicy(QComboBox::NoInsert);
    CBoxName->lineEdit()->setMaxLength(ComUnit::MaxNameLength);
    CBoxName->lineEdit()->setPlaceholderText(u"новый участник или выберите из списка"_s);
    CBoxName->setToolTip(u"Имя уже введённого участника открывает его ответы для исправления"_s);
    // A name of 255 characters must not widen the window: the field keeps its width and scrolls.
    CBoxName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CBoxName->setMinimumContentsLength(20);
    nameCaption->setBuddy(CBoxName);
    nameRow->addWidget(CBoxName, 1);
    layout->addLayout(nameRow);

    TableAnswers = new QTableWidget(int(steps.size()), 3, body);
    TableAnswers->setObjectName(u"TableAnswers"_s);
    TableAnswers->setHorizontalHeaderLabels({u"Вопрос"_s, u"Ответ"_s, u"Ответ словами"_s});
    TableAnswers->verticalHeader()->hide();
    TableAnswers->setSelectionMode(QAbstractItemView::SingleSelection);
    TableAnswers->setWordWrap(true);
    TableAnswers->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                  QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    TableAnswers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(TableAnswers, 1);

    LabelHint = new QLabel(Hint, body);
    LabelHint->setObjectName(u"LabelHint"_s);
    LabelHint->setWordWrap(true);
    layout->addWidget(LabelHint);

    Panel1 = ScreenParts::makePanel(this, u"Panel1"_s, QRect(0, top, WizardScreen::ClientWidth, StripHeight));
    ButSave = ScreenParts::makeButton(Panel1, {u"ButSave", u"Сохранить", QRect(48, 8, 110, 25),
                                               u"Сохранить ответы участника в задаче", QStyle::SP_DialogSaveButton});
    ButClose =
        ScreenParts::makeButton(Panel1, {u"ButClose", u"Закрыть", QRect(170, 8, 100, 25),
                                         u"Закрыть окно и вернуться к списку критериев", QStyle::SP_DialogCloseButton});
    // Enter belongs to the answer cells: neither button is the default.
    ButSave->setAutoDefault(false);
    ButClose->setAutoDefault(false);
    LabelCount = new QLabel(Panel1);
    LabelCount->setObjectName(u"LabelCount"_s);
    LabelCount->setGeometry(290, 8, WizardScreen::ClientWidth - 290 - 8, 25);
    LabelCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* delegate = new AnswerDelegate(TableAnswers);
    delegate->opened = [this](QLineEdit* edit, int) { m_editor = edit; };
    delegate->typed = [this](int p, const QString& text) { showTyped(p, text); };
    TableAnswers->setItemDelegateForColumn(AnswerColumn, delegate);
    // Connected after the table's own handler: the editor is closed when this runs. Enter moves on to the next
    // question (Tab goes on as the table moves it).
    connect(
        delegate, &QAbstractItemDelegate::closeEditor, this, [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            const int p = TableAnswers->currentRow();
            m_editor = nullptr;
            showTyped(p, TableAnswers->item(p, AnswerColumn) ? TableAnswers->item(p, AnswerColumn)->text() : QString());
            if (hint == QAbstractItemDelegate::SubmitModelCache)
                editAnswer(p + 1);
        });
    connect(TableAnswers, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == AnswerColumn)
            answerCommitted(item->row());
    });
    connect(CBoxName, &QComboBox::activated, this,
            [this](int index) { ErrorBox::guarded(this, [&] { openName(CBoxName->itemText(index)); }); });
    // Enter after the name goes on to the first question.
    connect(CBoxName->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (ErrorBox::guarded(this, [this] { openName(CBoxName->currentText()); }))
            editAnswer(0);
    });
    connect(CBoxName->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { ErrorBox::guarded(this, [this] { openName(CBoxName->currentText()); }); });
    connect(ButSave, &QPushButton::clicked, this, [this] { ErrorBox::guarded(this, [this] { save(); }); });
    connect(ButClose, &QPushButton::clicked, this, &QWidget::close);
    setTabOrder(CBoxName, TableAnswers);
    setTabOrder(TableAnswers, ButSave);
    setTabOrder(ButSave, ButClose);

    buildTable();
    reloadRespondents();
    showCount();
    CBoxName->setFocus();
}

TFormAnswers::~TFormAnswers()
{
    // The children go after this object's members: nothing they signal on their way out (an editor that loses
    // its focus commits, a name field that loses it finishes) may reach the handlers here.
    TableAnswers->disconnect(this);
    TableAnswers->horizontalHeader()->disconnect(this);
    TableAnswers->itemDelegateForColumn(AnswerColumn)->disconnect(this);
    CBoxName->disconnect(this);
    CBoxName->lineEdit()->disconnect(this);
}

void TFormAnswers::buildTable()
{
    const auto problem = m_file.snapshot();
    m_filling = true;
    for (int p = 0; p < m_steps.size(); ++p) {
        TableAnswers->setItem(p, QuestionColumn, fixedItem(Questionnaire::questionLine(*problem, m_steps.at(p), p)));
        auto* answer = new QTableWidgetItem();
        answer->setTextAlignment(Qt::AlignCenter);
        TableAnswers->setItem(p, AnswerColumn, answer);
        TableAnswers->setItem(p, SentenceColumn, fixedItem(QString()));
        showTyped(p, QString());
    }
    m_filling = false;
    // The two texts share the width the answers leave; long names wrap and make their row higher.
    QHeaderView* header = TableAnswers->horizontalHeader();
    header->setSectionResizeMode(QuestionColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(AnswerColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(SentenceColumn, QHeaderView::Stretch);
    TableAnswers->setColumnWidth(AnswerColumn, 60);
    // The rows are as high as their wrapped texts at the widths the columns get once the window is laid out.
    connect(header, &QHeaderView::sectionResized, this, [this] { TableAnswers->resizeRowsToContents(); });
    if (!m_steps.isEmpty())
        TableAnswers->setCurrentCell(0, AnswerColumn);
}

void TFormAnswers::reloadRespondents()
{
    m_respondents = Respondents::load(m_file);
    const QString typed = CBoxName->currentText();
    const QSignalBlocker quiet(CBoxName);
    CBoxName->clear();
    for (const Respondent& r : m_respondents)
        CBoxName->addItem(r.name);
    CBoxName->setCurrentIndex(-1);
    CBoxName->setEditText(typed);
}

void TFormAnswers::showAnswers(const std::vector<std::optional<int>>& answers)
{
    m_filling = true;
    for (int p = 0; p < m_steps.size(); ++p) {
        const std::optional<int> a = std::size_t(p) < answers.size() ? answers[std::size_t(p)] : std::nullopt;
        m_answers[std::size_t(p)] = a;
        const QString text = a ? QString::number(*a) : QString();
        TableAnswers->item(p, AnswerColumn)->setText(text);
        showTyped(p, text);
    }
    m_filling = false;
    TableAnswers->resizeRowsToContents();
    showCount();
}

void TFormAnswers::showTyped(int p, const QString& text)
{
    QTableWidgetItem* sentence = TableAnswers->item(p, SentenceColumn);
    if (!sentence)
        return;
    const QA::AnswerText answer = QA::readAnswer(text);
    QString shown = NoAnswer;
    QColor colour = NoAnswerColour;
    if (answer.kind == QA::AnswerText::Kind::Answer) {
        shown = Questionnaire::answerSentence(*m_file.snapshot(), m_steps.at(p), answer.answer);
        colour = palette().color(QPalette::Text);
    } else if (answer.kind == QA::AnswerText::Kind::Refused) {
        shown = refusal(text);
        colour = RefusedColour;
    }
    sentence->setText(shown);
    sentence->setToolTip(shown);
    sentence->setForeground(colour);
    if (m_filling)
        return;
    // The hint says at once why a number is refused, as long as it stands in the cell.
    LabelHint->setText(answer.kind == QA::AnswerText::Kind::Refused ? refusal(text) : Hint);
    LabelHint->setStyleSheet(answer.kind == QA::AnswerText::Kind::Refused ? u"color: rgb(200, 30, 30)"_s : QString());
    TableAnswers->resizeRowToContents(p);
}

void TFormAnswers::answerCommitted(int p)
{
    const QA::AnswerText answer = QA::readAnswer(TableAnswers->item(p, AnswerColumn)->text());
    const std::optional<int> now =
        answer.kind == QA::AnswerText::Kind::Answer ? std::optional<int>(answer.answer) : std::nullopt;
    if (m_answers[std::size_t(p)] != now) {
        m_answers[std::size_t(p)] = now;
        m_modified = true;
    }
    showCount();
}

void TFormAnswers::showCount()
{
    const auto answered =
        std::count_if(m_answers.cbegin(), m_answers.cend(), [](const auto& a) { return a.has_value(); });
    LabelCount->setText(u"Отвечено: %1 из %2"_s.arg(answered).arg(m_answers.size()) +
                        (m_modified ? u" (не сохранено)"_s : QString()));
}

void TFormAnswers::editAnswer(int p)
{
    // An editable combo box passes Enter on once more: the cell may be open already.
    if (p < 0 || p >= TableAnswers->rowCount() || (m_editor && TableAnswers->currentRow() == p))
        return;
    TableAnswers->setCurrentCell(p, AnswerColumn);
    TableAnswers->scrollToItem(TableAnswers->item(p, AnswerColumn));
    TableAnswers->editItem(TableAnswers->item(p, AnswerColumn));
}

void TFormAnswers::openName(const QString& name)
{
    const int index = Respondents::indexOfName(m_respondents, name);
    if (index < 0 && m_openNumber >= 0) {
        // A new name after a stored respondent: the answers on the screen are that respondent's, and a question
        // the new paper leaves blank must not keep them. Answers typed since are only cleared when the user says so.
        if (m_modified && !Dialogs::question(this, u"Вопрос"_s,
                                             u"Очистить ответы в таблице для нового участника «%1»?"_s.arg(name))) {
            m_openNumber = -1;
            return;
        }
        m_openNumber = -1;
        m_modified = false;
        showAnswers(std::vector<std::optional<int>>(m_answers.size()));
        return;
    }
    if (index < 0 || m_respondents.at(index).number == m_openNumber)
        return;
    if (m_modified &&
        !Dialogs::question(this, u"Вопрос"_s,
                           u"Введённые ответы не сохранены. Открыть сохранённые ответы участника «%1»? Введённые "
                           u"ответы будут потеряны."_s.arg(name)))
        return;
    const Respondent& r = m_respondents.at(index);
    std::vector<std::optional<int>> answers(m_answers.size());
    for (int p = 0; p < int(answers.size()); ++p)
        answers[std::size_t(p)] = r.answerNumber(p);
    m_openNumber = r.number;
    m_modified = false;
    showAnswers(answers);
}

bool TFormAnswers::save()
{
    const QString name = CBoxName->currentText();
    if (const std::optional<QString> why = Respondents::nameRefusal(name)) {
        Dialogs::warning(this, u"Ошибка"_s, *why);
        return false;
    }
    const int number = Respondents::store(m_file, name, Respondents::answerList(m_steps, m_answers));
    if (number < 0) {
        Dialogs::warning(this, u"Ошибка"_s,
                         u"В задаче уже %1 участников: нового участника добавить нельзя."_s.arg(Respondents::MaxCount));
        return false;
    }
    m_openNumber = number;
    m_modified = false;
    reloadRespondents();
    showCount();
    LabelHint->setStyleSheet(QString());
    LabelHint->setText(u"Ответы участника «%1» сохранены."_s.arg(name));
    return true;
}

void TFormAnswers::reject()
{
    if (m_modified &&
        !Dialogs::question(this, u"Вопрос"_s, u"Ответы участника не сохранены. Закрыть окно без сохранения?"_s))
        return;
    QDialog::reject();
}
