#include "TestSupport.h"

#include "evaluate/ProblemData.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <QFile>

#include <stdexcept>

namespace TestSupport {

QString examplesDir()
{
    return QString::fromUtf8(OPTIVAR_EXAMPLES_DIR);
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

ProblemData problem(int n, int m, const QString& judgements)
{
    using namespace ProblemKeys;
    static const QStringList criteria{QStringLiteral("Цена"), QStringLiteral("Качество"), QStringLiteral("Срок"),
                                      QStringLiteral("Сервис")};
    static const QStringList alternatives{QStringLiteral("Первый"), QStringLiteral("Второй"), QStringLiteral("Третий"),
                                          QStringLiteral("Четвёртый")};
    IniDocument doc;
    doc.writeInteger(QualSection, CountKey, n);
    doc.writeInteger(AltSection, CountKey, m);
    for (int k = 0; k < n && k < criteria.size(); ++k)
        doc.writeString(QualSection, qualKey(k), criteria.at(k));
    for (int i = 0; i < m && i < alternatives.size(); ++i)
        doc.writeString(AltSection, altKey(i), alternatives.at(i));
    for (const QString& j : judgements.split(u' ', Qt::SkipEmptyParts))
        doc.writeString(JudgementSection, j.section(u'=', 0, 0), j.section(u'=', 1));
    return ProblemData::load(doc);
}

} // namespace TestSupport
