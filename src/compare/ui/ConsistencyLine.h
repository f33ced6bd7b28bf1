#pragma once

class QLabel;

/// The line of the comparison screens that tells, at every move of a bar, how consistent the answers of the
/// matrix being answered are: LiveConsistency's words, green while good, red beyond.
namespace ConsistencyLine {

/// Shows ratio on label. With fit, the face shrinks (down to 9 pixels) until the line fits the label's width.
void show(QLabel* label, double ratio, bool fit = false);

} // namespace ConsistencyLine
