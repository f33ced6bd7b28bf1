#include "evaluate/ResultsJson.h"

#include "evaluate/Analysis.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/ProblemData.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace ResultsJson {

QByteArray number(double value)
{
    if (!std::isfinite(value))
        return QByteArrayLiteral("null");
    // std::to_chars ignores the C locale (which a host program may have set to
    // one with a decimal comma). Scientific with 16 decimals gives exactly the 17
    // digits; they are then laid out as printf's "%#.17g" would, without its
    // trailing point, which JSON does not allow.
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
    if (ec != std::errc())
        return QByteArrayLiteral("null");
    const QByteArrayView text(buffer, end - buffer);
    const qsizetype e = text.indexOf('e');
    const bool negative = text.startsWith('-');
    QByteArray digits = text.sliced(negative ? 1 : 0, e - (negative ? 1 : 0)).toByteArray();
    digits.remove(1, 1); // the point after the first digit
    int exponent = 0;
    const char* exponentText = buffer + e + 1;
    if (*exponentText == '+')
        ++exponentText; // from_chars takes a "-" but no "+"
    std::from_chars(exponentText, end, exponent);

    QByteArray out;
    if (negative)
        out += '-';
    if (exponent < -4 || exponent >= 17) {
        out += digits.left(1) + '.' + digits.mid(1) + 'e' + (exponent < 0 ? "-" : "+");
        out += QByteArray::number(std::abs(exponent)).rightJustified(2, '0');
    } else if (exponent < 0) {
        out += "0." + QByteArray(-exponent - 1, '0') + digits;
    } else if (exponent < 16) {
        out += digits.left(exponent + 1) + '.' + digits.mid(exponent + 1);
    } else {
        out += digits;
    }
    return out;
}

namespace {

QByteArray string(const QString& text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray numbers(const std::vector<double>& values)
{
    QByteArray out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += number(values[i]);
    }
    return out + ']';
}

// One object per line: the lists stay readable and every entry greps as one line.
QByteArray list(const QList<QByteArray>& objects)
{
    if (objects.isEmpty())
        return "[]";
    QByteArray out = "[";
    for (qsizetype i = 0; i < objects.size(); ++i)
        out += (i > 0 ? ",\n    " : "\n    ") + objects.at(i);
    return out + "\n  ]";
}

QByteArray analysisMembers(const AnalysisResult& analysis)
{
    QList<QByteArray> weights;
    for (int k = 0; k < analysis.critTotal; ++k) {
        weights.append("{\"Name\": " + string(analysis.critNames.at(k)) +
                       ", \"Weight\": " + number(analysis.weights[std::size_t(k)]) + '}');
    }
    QList<QByteArray> matrices;
    QList<QByteArray> revisit;
    for (std::size_t x = 0; x < analysis.matrices.size(); ++x) {
        const AnalysisMatrix& m = analysis.matrices[x];
        matrices.append("{\"Criterion\": " + QByteArray::number(m.criterion) +
                        ", \"Order\": " + QByteArray::number(m.order) + ", \"Lambda\": " + number(m.lambda) +
                        ", \"CI\": " + number(m.consistencyIndex) + ", \"CR\": " + number(m.consistencyRatio) + '}');
        for (const RevisitJudgement& j : m.revisit) {
            revisit.append(
                "{\"Matrix\": " + QByteArray::number(qsizetype(x)) + ", \"Key\": " + string(j.key) +
                ", \"Step\": " + QByteArray::number(j.step) + ", \"Present\": " + QByteArray::number(j.presentValue) +
                ", \"Suggested\": " + QByteArray::number(j.suggestedValue) + ", \"E\": " + number(j.e) + '}');
        }
    }
    QList<QByteArray> sensitivity;
    for (const CriterionSensitivity& s : analysis.sensitivity) {
        sensitivity.append("{\"Criterion\": " + QByteArray::number(s.criterion) + ", \"Weight\": " + number(s.weight) +
                           ", \"Low\": " + number(s.low) + ", \"High\": " + number(s.high) +
                           ", \"WinnerBelow\": " + QByteArray::number(s.winnerBelow) +
                           ", \"WinnerAbove\": " + QByteArray::number(s.winnerAbove) + '}');
    }
    QByteArray smallest = "null";
    if (const std::optional<WinnerChange>& c = analysis.smallestChange) {
        smallest = "{\"Criterion\": " + QByteArray::number(c->criterion) + ", \"NewWeight\": " + number(c->newWeight) +
                   ", \"NewWinner\": " + QByteArray::number(c->newWinner) + '}';
    }
    QByteArray out;
    out += "  \"Weights\": " + list(weights) + ",\n";
    out += "  \"Matrices\": " + list(matrices) + ",\n";
    out += "  \"Revisit\": " + list(revisit) + ",\n";
    out += "  \"Sensitivity\": " + list(sensitivity) + ",\n";
    out += "  \"SmallestChange\": " + smallest + "\n";
    return out;
}

} // namespace

QByteArray toJson(const ProblemData& problem, const EvaluationResult& result)
{
    QByteArray out = "{\n";
    out += "  \"CritTotal\": " + QByteArray::number(result.CritTotal) + ",\n";
    out += "  \"AltTotal\": " + QByteArray::number(result.AltTotal) + ",\n";
    out += "  \"AltNames\": [";
    for (int i = 0; i < problem.altTotal(); ++i)
        out += (i > 0 ? ", " : "") + string(problem.altName(i));
    out += "],\n";
    out += "  \"CritPriority\": " + numbers(result.CritPriority) + ",\n";
    out += "  \"AltLocalPriority\": [";
    for (std::size_t i = 0; i < result.AltLocalPriority.size(); ++i)
        out += (i > 0 ? ",\n    " : "\n    ") + numbers(result.AltLocalPriority[i]);
    out += result.AltLocalPriority.empty() ? "],\n" : "\n  ],\n";
    out += "  \"AltConsistencyIndex\": " + numbers(result.AltConsistencyIndex) + ",\n";
    out += "  \"AltPriority\": " + numbers(result.AltPriority) + ",\n";
    out += "  \"CritConsistencyRatio\": " + number(result.CritConsistencyRatio) + ",\n";
    out += "  \"AltConsistencyRatio\": " + number(result.AltConsistencyRatio) + ",\n";
    out += "  \"BestChoice\": " + QByteArray::number(result.BestChoice) + ",\n";
    out += analysisMembers(Analysis::analyse(problem, result));
    out += "}\n";
    return out;
}

} // namespace ResultsJson
