#pragma once

#include <optional>
#include <vector>

class ProblemData;

/// How well the best choice stands up to answers one grade off: the share of random draws in which each
/// alternative comes out best when the judgements are moved by one position of the scale.
struct RobustnessResult
{
    /// The number of draws the shares are taken over.
    int Draws = 0;
    /// Per alternative, in file order: the share of the draws (0 .. 1) in which it is the best choice.
    std::vector<double> BestShare;
    /// The share of the draws in which the present best choice stays the best.
    double Stays = 0.0;
    /// The present best choice, as the evaluation finds it.
    int BestChoice = -1;
};

/// Draws of the judgements one grade off, each evaluated as usual.
///
/// In a draw every judgement of every matrix, read as its track-bar position (a missing or unusable value is
/// position 0), moves one position down, stays, or moves one position up, each with probability 1/3; at an end
/// of the scale the move that would leave it stays instead. The problem is then evaluated as the results screen
/// evaluates it, ties going to the alternative first in the file. The draws come in fixed blocks, each from a
/// fixed seed of its own, so a problem gives the same figures every time, whatever the number of threads.
namespace Robustness {

inline constexpr int Draws = 10000;
inline constexpr int DrawsPerBlock = 250;

/// The figures over all draws; nothing for fewer than two alternatives or no criteria. threads: 0 uses the
/// application's thread pool, 1 the calling thread only, more a pool of that many threads of its own.
std::optional<RobustnessResult> of(const ProblemData& problem, int threads = 0);

/// The problem as draw number draw (0 .. Draws - 1) moves it, every judgement stored as the value of its new
/// position: what that draw evaluates.
ProblemData drawnProblem(const ProblemData& problem, int draw);

/// The best choice of that draw as of() counts it; -1 where of() gives no figures.
int bestChoiceOfDraw(const ProblemData& problem, int draw);

} // namespace Robustness
