#include "compare/CompareStepsBuild.h"

#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

namespace CompareStepsBuild {

QStringList StepLines(const IniDocument& doc)
{
    using namespace ProblemKeys;
    const int n = ReadCount(doc, QualSection);
    const int m = ReadCount(doc, AltSection);
    QStringList lines;
    lines.reserve(n * (n - 1) / 2 + n * m * (m - 1) / 2);
    const auto add = [&](const QString& key) {
        lines.append(key + u'=' + QString::number(doc.readInteger(JudgementSection, key, 1)));
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
        QList<IniDocument::Entry> entries;
        entries.reserve(lines.size());
        for (const QString& line : lines) {
            const qsizetype eq = line.indexOf(u'=');
            entries.append({line.left(eq), line.mid(eq + 1)});
        }
        doc.replaceSection(ProblemKeys::JudgementSection, entries);
    });
    return lines;
}

} // namespace CompareStepsBuild
