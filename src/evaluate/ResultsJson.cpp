#include "evaluate/ResultsJson.h"

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
    out += "  \"BestChoice\": " + QByteArray::number(result.BestChoice) + "\n";
    out += "}\n";
    return out;
}

} // namespace ResultsJson
