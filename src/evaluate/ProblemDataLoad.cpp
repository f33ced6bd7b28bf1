// Reading a problem from its file lives apart from the value type, so that the
// evaluation links without the file layer.
#include "evaluate/ProblemData.h"

#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

ProblemData ProblemData::load(const IniDocument& doc)
{
    using namespace ProblemKeys;
    ProblemData problem(readCount(doc, QualSection), readCount(doc, AltSection));
    for (int i = 0; i < problem.altTotal(); ++i)
        problem.setAltName(i, readName(doc, AltSection, altKey(i)));
    for (int k = 0; k < problem.critTotal(); ++k)
        problem.setCritName(k, readName(doc, QualSection, qualKey(k)));
    // Only the keys with the lower position first are read; a stored value
    // that is not a decimal integer reads as 1, equal.
    for (int i = 0; i < problem.critTotal(); ++i) {
        for (int j = i + 1; j < problem.critTotal(); ++j)
            problem.setCritJudgement(i, j, doc.readInteger(JudgementSection, qualPairKey(i, j), 1));
    }
    for (int q = 0; q < problem.critTotal(); ++q) {
        for (int i = 0; i < problem.altTotal(); ++i) {
            for (int j = i + 1; j < problem.altTotal(); ++j)
                problem.setAltJudgement(i, j, q, doc.readInteger(JudgementSection, altPairKey(i, j, q), 1));
        }
    }
    return problem;
}

ProblemData ProblemData::load(const IniFile& file)
{
    return load(*file.snapshot());
}
