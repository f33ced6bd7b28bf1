#include "compare/CompareStepsBuild.h"

#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

#include <QStringBuilder>

using namespace Qt::Literals::StringLiterals;

namespace CompareStepsBuild {

QStringList stepLines(const IniDocument& doc)
{
    using namespace ProblemKeys;
    const int n = readCount(doc, QualSection);
    const int m = readCount(doc, AltSection);
    QStringList lines;
    lines.reserve(n * (n - 1) / 2 + n * m * (m - 1) / 2);
    const auto add = [&](const QString& key) {
        lines.append(key % u'=' % QString::number(doc.readInteger(JudgementSection, key, 1)));
    };
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j)
            add(qualPairKey(i, j));
    }
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i + 1 < m; ++i) {
            for (int j = i + 1; j < m; ++j)
                add(altPairKey(i, j, k));
        }
    }
    return lines;
}

QStringList rebuildJudgements(IniFile& file)
{
    QStringList lines;
    // The lines are taken from the file as the update reads it, so the rebuild
    // keeps whatever another copy stored a moment ago.
    file.update([&](IniDocument& doc) {
        lines = stepLines(doc);
        doc.replaceSectionLines(ProblemKeys::JudgementSection, lines);
    });
    return lines;
}

QString stepCaption(const IniDocument& doc, const QString& line)
{
    using namespace ProblemKeys;
    using ComUnit::stepLinePart;
    QString caption;
    if (line.startsWith(u'Q')) {
        caption = readName(doc, QualSection, stepLinePart(line, ComUnit::StepParts::FirstItem)) + u" и "_s +
                  readName(doc, QualSection, stepLinePart(line, ComUnit::StepParts::SecondCriterion));
    } else {
        caption = readName(doc, AltSection, stepLinePart(line, ComUnit::StepParts::FirstAlternative)) + u" и "_s +
                  readName(doc, AltSection, stepLinePart(line, ComUnit::StepParts::SecondAlternative)) + u" ["_s +
                  readName(doc, QualSection, stepLinePart(line, ComUnit::StepParts::Criterion)) + u"]."_s;
    }
    return caption.left(MaxCaptionLength);
}

QStringList stepCaptions(const IniDocument& doc, const QStringList& lines)
{
    QStringList captions;
    captions.reserve(lines.size());
    for (const QString& line : lines)
        captions.append(stepCaption(doc, line));
    return captions;
}

StepPair stepPair(const QString& line)
{
    namespace Parts = ComUnit::StepParts;
    // The position in an item key "Q_3" or "A_3"; -1 for anything else.
    const auto position = [&line](int part) {
        bool ok = false;
        const int p = ComUnit::stepLinePart(line, part).section(u'_', 1).toInt(&ok);
        return ok && p >= 0 ? p : -1;
    };
    StepPair pair;
    if (ComUnit::stepLinePart(line, Parts::Key).startsWith(u'Q')) {
        pair.first = position(Parts::FirstItem);
        pair.second = position(Parts::SecondCriterion);
    } else {
        pair.criterion = position(Parts::Criterion);
        pair.first = position(Parts::FirstAlternative);
        pair.second = position(Parts::SecondAlternative);
        if (pair.criterion < 0)
            pair.first = -1;
    }
    if (pair.first < 0 || pair.second <= pair.first)
        pair.first = pair.second = -1;
    return pair;
}

} // namespace CompareStepsBuild
