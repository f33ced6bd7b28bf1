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

/// The name the program shows for an alternative or criterion it cannot name.
inline constexpr QStringView UnknownName = u"?";

/// The counts a reader accepts: "Count" outside 0 .. MaxItemCount reads as the
/// nearer bound. The screens keep lists to 2 .. 9 items and read positions 0 to 10;
/// the bound only keeps a damaged or hand-made file from making the evaluation
/// or the step list huge.
constexpr int MaxItemCount = 30;

/// "Count" of a section ("Alt" or "Qual"), default 0, kept within 0 .. MaxItemCount.
int readCount(const IniDocument& doc, QStringView section);

/// The name at key in section ("A_i" of "Alt", "Q_k" of "Qual"), UnknownName
/// when there is none, cut to 255 characters: as the comparison screens, the
/// evaluation, the reports and the questionnaire name an element.
QString readName(const IniDocument& doc, QStringView section, QStringView key);

/// "A_" + i
QString altKey(int i);
/// "Q_" + k
QString qualKey(int k);
/// "Q_" + i + "*Q_" + j
QString qualPairKey(int i, int j);
/// "A_" + i + "*A_" + j + "&Q_" + k
QString altPairKey(int i, int j, int k);

} // namespace ProblemKeys
