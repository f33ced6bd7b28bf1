#include "compare/CompareStepsBuild.h"

#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

using namespace Qt::Literals::StringLiterals;

namespace CompareStepsBuild {

QStringList StepLines(const IniDocument& doc)
{
    using namespace ProblemKeys;
    const int n = ReadCount(doc, QualSection);
    const int m = ReadCount(doc, AltSection);
    QStringList lines;
    lines.reserve(n * (n - 1) / 2 + n * m * (m - 1) / 2);
    const auto add = [&](QString&& key) {
        const int value = doc.readInteger(JudgementSection, key, 1);
        key.reserve(key.size() + 12);
        key.append(u'=');
        if (value >= 0 && value <= 9) // every stored judgement but the preferences of A
            key.append(QChar(u'0' + value));
        else
            key.append(QString::number(value));
        lines.append(std::move(key));
    };
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j)
            add(QualPair(i, j));
    }
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i + 1 < m; ++i) {
            for (int j = i + 1; j < m; ++j)
                add(AltPair(i, j, k));
        }
    }
    return lines;
}

QStringList RebuildJudgements(IniFile& file)
{
    QStringList lines;
    // The lines are taken from the file as the update reads it, so the rebuild
    // keeps whatever another copy stored a moment ago.
    file.update([&](IniDocument& doc) {
        lines = StepLines(doc);
        doc.replaceSectionLines(ProblemKeys::JudgementSection, lines);
    });
    return lines;
}

QString StepItemName(const IniDocument& doc, QStringView section, const QString& key)
{
    return doc.readString(section, key, u"?"_s).left(ComUnit::MaxNameLength);
}

QString StepCaption(const IniDocument& doc, const QString& line)
{
    using namespace ProblemKeys;
    using ComUnit::StepLinePart;
    QString caption;
    if (line.startsWith(u'Q')) {
        caption = StepItemName(doc, QualSection, StepLinePart(line, 1)) + u" и "_s +
                  StepItemName(doc, QualSection, StepLinePart(line, 2));
    } else {
        caption = StepItemName(doc, AltSection, StepLinePart(line, 4)) + u" и "_s +
                  StepItemName(doc, AltSection, StepLinePart(line, 5)) + u" ["_s +
                  StepItemName(doc, QualSection, StepLinePart(line, 3)) + u"]."_s;
    }
    return caption.left(MaxCaptionLength);
}

QStringList StepCaptions(const IniDocument& doc, const QStringList& lines)
{
    QStringList captions;
    captions.reserve(lines.size());
    for (const QString& line : lines)
        captions.append(StepCaption(doc, line));
    return captions;
}

} // namespace CompareStepsBuild
