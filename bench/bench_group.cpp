// The joint decision on the largest problem the screens allow (9 criteria, 9 alternatives, every pair judged by
// the user and by every respondent): combining answers already read, consensus and disagreements included
// (target: 100 respondents in under 5 ms), and the same from the parsed file.
#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"
#include "storage/Respondents.h"

#include "LargestProblem.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

using LargestProblem::judgement;
using LargestProblem::Largest;

// The user's answers in "QualM" and respondents people, each answering every comparison.
IniDocument groupDocument(int people)
{
    IniDocument doc = LargestProblem::document();
    const QStringList keys = Respondents::stepKeys(Largest, Largest);
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
