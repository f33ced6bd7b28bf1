#pragma once

#include <QString>

/// Sections and keys of a problem file; every key is built from positions.
namespace ProblemKeys {

inline constexpr char16_t AltSection[] = u"Alt";
inline constexpr char16_t QualSection[] = u"Qual";
inline constexpr char16_t JudgementSection[] = u"QualM";
inline constexpr char16_t CountKey[] = u"Count";

/// "A_" + i
QString AltName(int i);
/// "Q_" + k
QString QualName(int k);
/// "Q_" + i + "*Q_" + j
QString QualPair(int i, int j);
/// "A_" + i + "*A_" + j + "&Q_" + k
QString AltPair(int i, int j, int k);

} // namespace ProblemKeys
