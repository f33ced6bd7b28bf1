#include "compare/ui/ConsistencyLine.h"

#include "evaluate/LiveConsistency.h"
#include "evaluate/ResultsText.h"

#include <QFontMetrics>
#include <QLabel>

namespace ConsistencyLine {

void show(QLabel* label, double ratio, bool fit)
{
    const QString text = LiveConsistency::label(ratio);
    if (fit) {
        QFont face = label->font();
        for (int pixels = 11; pixels >= 9; --pixels) {
            face.setPixelSize(pixels);
            if (QFontMetrics(face).horizontalAdvance(text) <= label->contentsRect().width())
                break;
        }
        label->setFont(face);
    }
    label->setText(text);
    const bool good = ResultsText::consistencyOf(ratio) == ResultsText::Consistency::Acceptable;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, good ? QColor(0, 100, 0) : QColor(180, 0, 0));
    label->setPalette(palette);
}

} // namespace ConsistencyLine
