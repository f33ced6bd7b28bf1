#include "shell/ui/ErrorBox.h"

#include "shell/ui/Dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace ErrorBox {

QString boxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void show(QWidget* parent, const QString& message)
{
    Dialogs::error(parent, QString::fromUtf16(Caption), boxText(message));
}

} // namespace ErrorBox
