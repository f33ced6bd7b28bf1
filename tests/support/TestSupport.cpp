#include "TestSupport.h"

#include "storage/CodePage.h"

#include <QFile>

#include <stdexcept>

namespace TestSupport {

QString examplesDir()
{
    return QString::fromUtf8(OPTIVAR_EXAMPLES_DIR);
}
QString testDataDir()
{
    return QString::fromUtf8(OPTIVAR_TESTDATA_DIR);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file " + path.toStdString());
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

QByteArray cp1251(const char* utf8)
{
    return CodePage::encode(QString::fromUtf8(utf8));
}

} // namespace TestSupport
