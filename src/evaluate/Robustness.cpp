#include "evaluate/Robustness.h"

#include "compare/Scale.h"
#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/ProblemData.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace Robustness {

namespace {

constexpr int Blocks = Draws / DrawsPerBlock;
static_assert(Blocks * DrawsPerBlock == Draws);
constexpr int Positions = Scale::MaxPosition - Scale::MinPosition + 1;

// xoshiro256** seeded through splitmix64 (Blackman and Vigna): a generator whose output is fixed by its
// definition, where the standard library's distributions may draw other numbers in another library version.
class Generator
{
public:
    explicit Generator(std::uint64_t seed)
    {
        for (std::uint64_t& word : m_state)
            word = splitmix64(seed);
    }

    // -1, 0 or 1, each with probability exactly 1/3: the base-3 digits of a 32-bit number drawn below 3^20
    // are independent and uniform.
    int move()
    {
        if (m_digitsLeft == 0) {
            constexpr std::uint32_t Power = 3486784401u; // 3^20
            do
                m_digits = next32();
            while (m_digits >= Power);
            m_digitsLeft = 20;
        }
        const int digit = int(m_digits % 3);
        m_digits /= 3;
        --m_digitsLeft;
        return digit - 1;
    }

private:
    static std::uint64_t splitmix64(std::uint64_t& x)
    {
        std::uint64_t z = (x += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = std::rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = std::rotl(m_state[3], 45);
        return result;
    }

    std::uint32_t next32()
    {
        if (m_halfLeft) {
            m_halfLeft = false;
            return std::uint32_t(m_half);
        }
        m_half = next();
        m_halfLeft = true;
        return std::uint32_t(m_half >> 32);
    }

    std::array<std::uint64_t, 4> m_state{};
    std::uint64_t m_half = 0;
    bool m_halfLeft = false;
    std::uint32_t m_digits = 0;
    int m_digitsLeft = 0;
};

Generator generatorOfBlock(int block)
{
    constexpr std::uint64_t Seed = 0x4F50544956415231u; // "OPTIVAR1"
    return Generator(Seed + std::uint64_t(block));
}

// Every ratio of the scale is a product of powers of 2, 3, 5 and 7, so a row product is one too, and its
// geometric mean is the product of four roots taken from tables. Rows whose products are equal thus get weights
// equal to the last bit, and equal alternatives tie as they do in the evaluation, where adding up logarithms in
// another order could part them. The four exponents are packed into one integer, 16 bits each, so that a cell
// adds to its row with one addition; a row starts at a bias that keeps every field at 0 or above, so the fields
// are read with a shift and a mask. The tables take about a third less time than exp(): 10,000 draws of nine
// criteria and nine alternatives cost one core some 12 ms in a Release build, against 19 ms with exp().
using Exponents = std::uint64_t; // wraps around, so negative exponents add as well
constexpr std::array<int, 4> Primes{2, 3, 5, 7};
constexpr int MaxExponentPerCell = 3; // 8 = 2^3

Exponents pack(const std::array<int, 4>& e)
{
    Exponents x = 0;
    for (std::size_t k = 0; k < e.size(); ++k)
        x += Exponents(std::int64_t(e[k])) << (16 * k);
    return x;
}

// The exponents of a[i][j] for the pair (i, j) at position p, the ratio the evaluation reads for that value.
Exponents exponentsOf(int p)
{
    const double ratio = JudgementMatrix::cellsOf(Scale::PositionToJudgement(p)).first;
    int n = int(std::lround(ratio >= 1.0 ? ratio : 1.0 / ratio));
    const int sign = ratio >= 1.0 ? 1 : -1;
    std::array<int, 4> e{};
    for (std::size_t k = 0; k < Primes.size(); ++k) {
        for (; n % Primes[k] == 0; n /= Primes[k])
            e[k] += sign;
    }
    return pack(e);
}

// prime^(e / order) for every exponent a row of that order can reach.
class Roots
{
public:
    explicit Roots(int order) : m_span(MaxExponentPerCell * std::max(order - 1, 0))
    {
        for (std::size_t k = 0; k < Primes.size(); ++k) {
            for (int e = -m_span; e <= m_span; ++e)
                m_table[k].push_back(std::pow(double(Primes[k]), double(e) / double(order)));
        }
    }

    // The exponents of a row before its cells are added.
    Exponents bias() const { return pack({m_span, m_span, m_span, m_span}); }

    // The geometric mean of a row whose product has these exponents, bias included.
    double of(Exponents row) const
    {
        return m_table[0][row & 0xFFFFu] * m_table[1][(row >> 16) & 0xFFFFu] * m_table[2][(row >> 32) & 0xFFFFu] *
               m_table[3][row >> 48];
    }

private:
    int m_span;
    std::array<std::vector<double>, 4> m_table;
};

// A problem ready for drawing: the positions of its judgements in step order (the criteria pairs, then the
// alternatives pairs criterion by criterion) and the tables of its two orders.
struct Prepared
{
    explicit Prepared(const ProblemData& problem)
        : n(problem.critTotal()), m(problem.altTotal()), critRoots(n), altRoots(m)
    {
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j)
                positions.push_back(Scale::JudgementToPosition(problem.critJudgement(i, j)));
        }
        for (int q = 0; q < n; ++q) {
            for (int i = 0; i < m; ++i) {
                for (int j = i + 1; j < m; ++j)
                    positions.push_back(Scale::JudgementToPosition(problem.altJudgement(i, j, q)));
            }
        }
        for (int p = Scale::MinPosition; p <= Scale::MaxPosition; ++p)
            exponents[std::size_t(p - Scale::MinPosition)] = exponentsOf(p);
    }

    int n;
    int m;
    std::vector<int> positions;
    std::array<Exponents, Positions> exponents{};
    Roots critRoots;
    Roots altRoots;
};

// The positions of the next draw.
void moveJudgements(Generator& generator, const std::vector<int>& positions, std::vector<int>& moved)
{
    for (std::size_t t = 0; t < positions.size(); ++t)
        moved[t] = std::clamp(positions[t] + generator.move(), Scale::MinPosition, Scale::MaxPosition);
}

// The positions of one draw: its block's draws are made up to it.
std::vector<int> positionsOfDraw(const Prepared& prepared, int draw)
{
    Generator generator = generatorOfBlock(draw / DrawsPerBlock);
    std::vector<int> moved(prepared.positions.size());
    for (int d = 0; d <= draw % DrawsPerBlock; ++d)
        moveJudgements(generator, prepared.positions, moved);
    return moved;
}

// The evaluation of one draw, with room for its numbers kept from draw to draw.
class DrawEvaluation
{
public:
    explicit DrawEvaluation(const Prepared& prepared)
        : m_p(prepared), m_rows(std::size_t(std::max(prepared.n, prepared.m))), m_critWeights(std::size_t(prepared.n)),
          m_local(std::size_t(prepared.m)), m_priorities(std::size_t(prepared.m))
    {
    }

    // Priority vectors as normalised geometric means of the rows, synthesis summed over the criteria in file
    // order from 0 as the evaluation sums it, and its best choice.
    int bestChoice(const std::vector<int>& positions)
    {
        std::size_t t = 0;
        weights(m_p.n, m_p.critRoots, positions, t, m_critWeights);
        std::fill(m_priorities.begin(), m_priorities.end(), 0.0);
        for (int q = 0; q < m_p.n; ++q) {
            weights(m_p.m, m_p.altRoots, positions, t, m_local);
            for (int i = 0; i < m_p.m; ++i)
                m_priorities[std::size_t(i)] += m_critWeights[std::size_t(q)] * m_local[std::size_t(i)];
        }
        return Evaluation::bestChoice(m_priorities, m_p.m);
    }

private:
    void weights(int order, const Roots& roots, const std::vector<int>& positions, std::size_t& t,
                 std::vector<double>& w)
    {
        std::fill_n(m_rows.begin(), order, roots.bias());
        for (int i = 0; i < order; ++i) {
            for (int j = i + 1; j < order; ++j) {
                const Exponents cell = m_p.exponents[std::size_t(positions[t++] - Scale::MinPosition)];
                m_rows[std::size_t(i)] += cell;
                m_rows[std::size_t(j)] -= cell; // a[j][i] = 1 / a[i][j]
            }
        }
        double sum = 0.0;
        for (int i = 0; i < order; ++i) {
            w[std::size_t(i)] = roots.of(m_rows[std::size_t(i)]);
            sum += w[std::size_t(i)];
        }
        for (int i = 0; i < order; ++i)
            w[std::size_t(i)] /= sum;
    }

    const Prepared& m_p;
    std::vector<Exponents> m_rows;
    std::vector<double> m_critWeights;
    std::vector<double> m_local;
    std::vector<double> m_priorities;
};

bool hasFigures(const ProblemData& problem)
{
    return problem.altTotal() >= 2 && problem.critTotal() >= 1;
}

struct Block
{
    int index = 0;
    std::vector<int> bestCounts; // per alternative
};

void runBlock(const Prepared& prepared, Block& block)
{
    Generator generator = generatorOfBlock(block.index);
    DrawEvaluation evaluation(prepared);
    std::vector<int> moved(prepared.positions.size());
    block.bestCounts.assign(std::size_t(prepared.m), 0);
    for (int d = 0; d < DrawsPerBlock; ++d) {
        moveJudgements(generator, prepared.positions, moved);
        ++block.bestCounts[std::size_t(evaluation.bestChoice(moved))];
    }
}

} // namespace

std::optional<RobustnessResult> of(const ProblemData& problem, int threads)
{
    if (!hasFigures(problem))
        return std::nullopt;
    const Prepared prepared(problem);
    std::vector<Block> blocks(Blocks);
    for (int b = 0; b < Blocks; ++b)
        blocks[std::size_t(b)].index = b;
    // Each block draws from its own seed into its own counts, so how the blocks are spread over threads
    // cannot change a figure.
    const auto run = [&prepared](Block& block) { runBlock(prepared, block); };
    if (threads == 1) {
        for (Block& block : blocks)
            run(block);
    } else if (threads <= 0) {
        QtConcurrent::blockingMap(blocks, run);
    } else {
        QThreadPool pool;
        pool.setMaxThreadCount(threads);
        QtConcurrent::blockingMap(&pool, blocks, run);
    }

    RobustnessResult result;
    result.Draws = Draws;
    result.BestChoice = Evaluation::EvaluateProblem(problem).BestChoice;
    std::vector<int> counts(std::size_t(prepared.m), 0);
    for (const Block& block : blocks) {
        for (std::size_t i = 0; i < counts.size(); ++i)
            counts[i] += block.bestCounts[i];
    }
    for (const int count : counts)
        result.BestShare.push_back(double(count) / double(Draws));
    result.Stays = result.BestShare[std::size_t(result.BestChoice)];
    return result;
}

ProblemData drawnProblem(const ProblemData& problem, int draw)
{
    const Prepared prepared(problem);
    const std::vector<int> moved = positionsOfDraw(prepared, draw);
    ProblemData drawn = problem;
    std::size_t t = 0;
    for (int i = 0; i < prepared.n; ++i) {
        for (int j = i + 1; j < prepared.n; ++j)
            drawn.setCritJudgement(i, j, Scale::PositionToJudgement(moved[t++]));
    }
    for (int q = 0; q < prepared.n; ++q) {
        for (int i = 0; i < prepared.m; ++i) {
            for (int j = i + 1; j < prepared.m; ++j)
                drawn.setAltJudgement(i, j, q, Scale::PositionToJudgement(moved[t++]));
        }
    }
    return drawn;
}

int bestChoiceOfDraw(const ProblemData& problem, int draw)
{
    if (!hasFigures(problem))
        return -1;
    const Prepared prepared(problem);
    DrawEvaluation evaluation(prepared);
    return evaluation.bestChoice(positionsOfDraw(prepared, draw));
}

} // namespace Robustness
