#pragma once

#include <QString>
#include <QStringView>

class IniDocument;

/// Sections and keys of a problem file; every key is built from positions.
namespace ProblemKeys {

inline constexpr QStringView AltSection = u"Alt";
inline constexpr QStringView QualSection = u"Qual";
inline constexpr QStringView JudgementSection = u"QualM";
inline constexpr QStringView CountKey = u"Count";

/// The counts a reader accepts: "Count" outside 0 .. MaxItemCount reads as the
/// nearer bound. The screens keep lists to 2 .. 9 items and read positions 0 to 10;
/// the bound only keeps a damaged or hand-made file from making the evaluation
/// or the step list huge.
constexpr int MaxItemCount = 30;

/// "Count" of a section ("Alt" or "Qual"), default 0, kept within 0 .. MaxItemCount.
int readCount(const IniDocument& doc, QStringView section);

/// "A_" + i
QString altKey(int i);
/// "Q_" + k
QString qualKey(int k);
/// "Q_" + i + "*Q_" + j
QString qualPairKey(int i, int j);
/// "A_" + i + "*A_" + j + "&Q_" + k
QString altPairKey(int i, int j, int k);

} // namespace ProblemKeys
