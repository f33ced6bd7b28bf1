#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

/// A failed operation on the user's files: a code for tests, a message for people.
/// Core operations throw it; the screens show its message in the application's error box.
class OptivarError final : public std::exception
{
public:
    enum class Code {
        WriteFailed, // a store could not replace the file; the file on disk is unchanged
        CopyFailed,  // a copy failed part-way; no partial target is left
        NotFound,    // a source file does not exist
        IoError,     // any other failure of the file system
        BadName,     // a name that cannot be a file name in the data folder
        NameExists,  // a rename or create would replace another file
    };

    OptivarError(Code code, const QString& message);

    Code code() const { return m_code; }
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

    /// "Unable to write to " + path: the error of every failed store.
    static OptivarError writeFailed(const QString& path);
    /// A file that cannot be opened or read: "File not found" for a missing one,
    /// "I/O error " + the system's error number otherwise.
    static OptivarError fileError(int error);

private:
    Code m_code;
    QString m_message;
    QByteArray m_what;
};
