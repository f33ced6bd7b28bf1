#pragma once

#include <QString>
#include <QStringList>

/// The problem and template files of the data folder. The lists of the problem
/// screen are nothing but views of this folder: a name is a file name without its
/// extension. Names are checked before any file is made, renamed or erased, so no
/// operation here reaches outside the folder or replaces another file.
namespace ProblemDirectory {

enum class Kind { Problems, Templates };

/// ".qzr" for problems, ".qzp" for templates.
QString extension(Kind kind);
/// datDir + "/" + name + extension.
QString filePath(const QString& datDir, const QString& name, Kind kind);

/// Creates the data folder if it is missing (OptivarError IoError when it cannot).
void ensureFolder(const QString& datDir);
/// The names of the files of a kind (the file name without its final extension,
/// matched case-sensitively), in the collation of the user's locale. Creates the
/// folder when it is missing, and first removes the hidden temporary and lock
/// files of stores that no running store holds (AtomicFile::removeLeftovers).
QStringList names(const QString& datDir, Kind kind);

/// An edited name as it is kept: blanks and control characters (codes below 33)
/// cut from both ends, then at most 255 characters.
QString trimmedName(const QString& text);
/// Why name cannot name a file of the kind, or an empty string when it can.
QString nameProblem(const QString& name, Kind kind);
/// OptivarError BadName with the reason when name cannot name a file.
void checkName(const QString& name, Kind kind);

bool exists(const QString& datDir, const QString& name, Kind kind);
/// The first of base, base + " (2)", base + " (3)", ... that names no file of the kind.
QString freeName(const QString& datDir, const QString& base, Kind kind);

/// Makes an empty file; never replaces one (OptivarError NameExists).
void create(const QString& datDir, const QString& name, Kind kind);
/// Renames a file; never replaces another one (OptivarError NameExists), the
/// source missing is NotFound "File not found".
void rename(const QString& datDir, const QString& oldName, const QString& newName, Kind kind);
/// Erases a file: NotFound "File not found" when it is missing, IoError "I/O error N" otherwise.
void remove(const QString& datDir, const QString& name, Kind kind);

/// The message of a refused name that another file of the kind already holds.
QString existsMessage(const QString& name, Kind kind);

} // namespace ProblemDirectory
