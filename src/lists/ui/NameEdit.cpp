#include "lists/ui/NameEdit.h"

#include "storage/CodePage.h"
#include "storage/ComUnit.h"

#include <QKeyEvent>
#include <QLocale>
#include <QValidator>

namespace {

// A name read from disk may already hold characters the code page cannot store;
// such a name must stay editable, so only characters beyond those it had are refused.
class CodePageValidator final : public QValidator
{
public:
    explicit CodePageValidator(QLineEdit* edit) : QValidator(edit)
    {
        // The line edit changes its text before it asks; the text before the change is kept here.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = foreignCount(text); });
    }

    State validate(QString& input, int&) const override
    {
        return foreignCount(input) <= m_before ? Acceptable : Invalid;
    }

private:
    static qsizetype foreignCount(const QString& text)
    {
        qsizetype n = 0;
        for (QChar c : text) {
            if (!CodePage::canEncode(c))
                ++n;
        }
        return n;
    }

    qsizetype m_before = 0;
};

} // namespace

NameEdit::NameEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setMaxLength(ComUnit::MaxNameLength);
    setValidator(new CodePageValidator(this));
}

void NameEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        m_leftWithWindow = false;
        Q_EMIT left();
        return;
    }
    if (m_decimalKeys && (event->text() == u"," || event->text() == u".")) {
        insert(QLocale().decimalPoint());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NameEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A pop-up (a menu, a completer) takes the focus only for a moment.
    if (isVisible() && event->reason() != Qt::PopupFocusReason) {
        m_leftWithWindow = event->reason() == Qt::ActiveWindowFocusReason;
        Q_EMIT left();
    }
}
