#include "storage/OptivarError.h"

#include <cerrno>

using namespace Qt::Literals::StringLiterals;

OptivarError::OptivarError(Code code, const QString& message)
    : m_code(code), m_message(message), m_what(message.toUtf8())
{
}

OptivarError OptivarError::writeFailed(const QString& path)
{
    return OptivarError(Code::WriteFailed, u"Unable to write to "_s + path);
}

OptivarError OptivarError::fileError(int error)
{
    if (error == ENOENT)
        return OptivarError(Code::NotFound, u"File not found"_s);
    return OptivarError(Code::IoError, u"I/O error "_s + QString::number(error));
}
