#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/// Whole-file replacement that never leaves a half-written file: the bytes go to
/// a temporary file in the same folder, are flushed to disk, and the temporary
/// file is then renamed over (or, without replace, linked to) the target.
namespace AtomicFile {

enum class Mode { Replace, NoReplace };

/// Writes bytes as the whole content of path. On failure nothing at path has
/// changed, no temporary file is left, and OptivarError "Unable to write to " +
/// path is thrown (code NameExists when Mode::NoReplace finds path taken).
/// The new file keeps the permissions of the file it replaces; with
/// lastModifiedNs (nanoseconds since 1970) it carries that last-write time.
void write(const QString& path, const QByteArray& bytes, Mode mode = Mode::Replace,
           std::optional<qint64> lastModifiedNs = std::nullopt);

} // namespace AtomicFile
