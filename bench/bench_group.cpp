// The joint decision on the largest problem the screens allow (9 criteria, 9 alternatives, every pair judged by
// the user and by every respondent): combining answers already read, consensus and disagreements included
// (target: 100 respondents in under 5 ms), and the same from the parsed file.
#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"
#include "storage/Respondents.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Largest = 9;

// Every stored value the scale has, in an order that gives no two people the same answers.
int judgement(int serial)
{
    static constexpr int scale[] = {-9, -7, -5, -3, -2, 1, 2, 3, 5, 7, 9, 4, -4, 6, -6, 8, -8};
    return scale[serial % 17];
}

// The user's answers in "QualM" and respondents people, each answering every comparison.
IniDocument groupDocument(int people)
{
    using namespace ProblemKeys;
    IniDocument doc;
    QList<IniDocument::Entry> alternatives, criteria;
    for (int i = 0; i < Largest; ++i) {
        alternatives.append({altKey(i), u"Вариант номер "_s + QString::number(i + 1)});
        criteria.append({qualKey(i), u"Критерий номер "_s + QString::number(i + 1)});
    }
    alternatives.append({CountKey.toString(), QString::number(Largest)});
    criteria.append({CountKey.toString(), QString::number(Largest)});
    doc.replaceSection(AltSection, alternatives);
    doc.replaceSection(QualSection, criteria);
    const QStringList keys = Respondents::stepKeys(Largest, Largest);
    QList<IniDocument::Entry> judgements;
    for (int s = 0; s < keys.size(); ++s)
        judgements.append({keys[s], QString::number(judgement(s))});
    doc.replaceSection(JudgementSection, judgements);
    for (int r = 0; r < people; ++r) {
        Respondents::AnswerList answers;
        for (int s = 0; s < keys.size(); ++s)
            answers.append({keys[s], judgement(s * (r + 2) + r)});
        Respondents::store(doc, u"Респондент "_s + QString::number(r + 1), answers);
    }
    return doc;
}

void combineRespondents(benchmark::State& state)
{
    const IniDocument doc = groupDocument(int(state.range(0)));
    const ProblemData problem = ProblemData::load(doc);
    const QList<Respondent> respondents = Respondents::load(doc);
    if (respondents.size() != state.range(0) ||
        std::count(respondents.back().answers.cbegin(), respondents.back().answers.cend(), Respondent::NoAnswer) != 0) {
        state.SkipWithError("the respondents did not read back");
        return;
    }
    for (auto _ : state) {
        GroupResult result = GroupEvaluation::evaluate(problem, respondents);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(combineRespondents)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// Reading the respondents out of a file already parsed, then combining.
void loadAndCombine(benchmark::State& state)
{
    const IniDocument doc = groupDocument(int(state.range(0)));
    for (auto _ : state) {
        GroupResult result = GroupEvaluation::evaluate(ProblemData::load(doc), Respondents::load(doc));
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(loadAndCombine)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
