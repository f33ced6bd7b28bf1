#include "evaluate/HowSureText.h"

#include "evaluate/AnalysisResult.h"
#include "evaluate/AnalysisText.h"
#include "evaluate/Eigenvector.h"
#include "evaluate/Robustness.h"

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace HowSureText {

QString share(double value)
{
    // 9,996 of 10,000 rounded would read as every draw, and 4 of them as none.
    long percent = std::lround(100.0 * value);
    if (value < 1.0)
        percent = std::min(percent, 99L);
    if (value > 0.0)
        percent = std::max(percent, 1L);
    return QString::number(percent) + u'%';
}

QString robustnessLine(const AnalysisResult& analysis, const RobustnessResult& robustness)
{
    return AnalysisText::quoted(analysis.altNames.value(robustness.BestChoice)) + u" остаётся лучшим выбором в "_s +
           share(robustness.Stays) + u" случаев, если любой ответ сдвинуть на одну ступень."_s;
}

QString noRobustnessLine()
{
    return u"Надёжность выбора оценивается, когда есть хотя бы один критерий и две альтернативы."_s;
}

QString eigenvectorLegend()
{
    return u"приоритеты по главному собственному вектору матриц сравнений (степенной метод с точностью 1e-12), как "
           u"их считают многие учебники и программы; эта программа берёт нормированные средние геометрические строк. "
           u"λ max в обоих случаях — сумма произведений a·w по всем клеткам матрицы (a — ответ, w — приоритет)."_s;
}

QString eigenvectorVerdict(const AnalysisResult& analysis, const EigenvectorResult& eigenvector, int nameLength)
{
    const auto name = [&](int i) {
        const QString whole = analysis.altNames.value(i);
        return AnalysisText::quoted(nameLength > 0 && whole.size() > nameLength ? whole.left(nameLength - 1) + u'…'
                                                                                : whole);
    };
    if (eigenvector.BestChoice < 0 || analysis.critTotal == 0)
        return QString();
    if (eigenvector.SameBestChoice)
        return u"По собственному вектору лучший выбор тот же: "_s + name(eigenvector.BestChoice) + u'.';
    return u"По собственному вектору лучший выбор другой: "_s + name(eigenvector.BestChoice) + u" вместо "_s +
           name(analysis.winner) + u'.';
}

} // namespace HowSureText
