#include "shell/ui/HelpMemo.h"

#include <QFrame>

using namespace Qt::Literals::StringLiterals;

HelpMemo::HelpMemo(const QStringList& lines, int pixelSize, QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(u"MemoInf"_s);
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont face = font();
    face.setFamilies({u"DejaVu Sans Condensed"_s, face.family()});
    face.setPixelSize(pixelSize);
    setFont(face);
    setPlainText(lines.join(u'\n'));
}
