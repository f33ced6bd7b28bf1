#include "storage/OptivarError.h"

using namespace Qt::Literals::StringLiterals;

OptivarError::OptivarError(Code code, const QString& message)
    : m_code(code)
    , m_message(message)
    , m_what(message.toUtf8())
{
}

OptivarError OptivarError::writeFailed(const QString& path)
{
    return OptivarError(Code::WriteFailed, u"Unable to write to "_s + path);
}
