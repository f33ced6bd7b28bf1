#pragma once

#include <QLineEdit>

/// The one-line editor of a name in a list grid. It refuses, as they are typed or
/// pasted, characters that code page 1251 cannot store (so the file keeps what the
/// user sees), holds at most 255 characters, and reports when it is left: by Enter
/// or by losing the focus, which both commit.
class NameEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit NameEdit(QWidget* parent = nullptr);

    /// Makes a typed "," or "." the locale's decimal separator (the list grid's own editor does so).
    void setDecimalSeparatorKeys(bool on) { m_decimalKeys = on; }
    /// True when the editor was last left because its window lost the focus (another
    /// window came to the front, or this one closed), not by the user within it.
    bool leftWithWindow() const { return m_leftWithWindow; }

Q_SIGNALS:
    /// Enter was pressed or the focus went elsewhere while the editor was shown.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_decimalKeys = false;
    bool m_leftWithWindow = false;
};
