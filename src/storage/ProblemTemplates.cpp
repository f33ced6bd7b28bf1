#include "storage/ProblemTemplates.h"

#include "storage/AtomicFile.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemKeys.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using ProblemDirectory::Kind;

// A copy that loses a race for a free name tries the next one; this many times at most.
constexpr int NameAttempts = 100;

} // namespace

namespace ProblemTemplates {

QString templateNameFor(const QString& problemName)
{
    return QString::fromUtf16(Prefix) + problemName;
}

QString problemNameFor(const QString& templateName)
{
    QString name = templateName;
    const qsizetype at = name.indexOf(QString::fromUtf16(Prefix));
    if (at >= 0)
        name.remove(at, QStringView(Prefix).size());
    return name;
}

QString SaveAsPrimer(const QString& datDir, const QString& problemName)
{
    const QString templateName = templateNameFor(problemName);
    ProblemDirectory::checkName(templateName, Kind::Templates);
    const QString target = ProblemDirectory::filePath(datDir, templateName, Kind::Templates);
    // The template is the problem with its judgements dropped and three
    // alternatives of its own: made in memory and written once, so no copy of
    // the problem with its real alternatives is ever left as a template.
    IniDocument doc =
        IniDocument::fromBytes(ComUnit::readDataFile(ProblemDirectory::filePath(datDir, problemName, Kind::Problems)));
    doc.eraseSection(ProblemKeys::JudgementSection);
    const QList<IniDocument::Entry> alternatives = {
        {ProblemKeys::altKey(0), u"Первый вариант"_s},
        {ProblemKeys::altKey(1), u"Второй вариант"_s},
        {ProblemKeys::altKey(2), u"Третий вариант"_s},
        {ProblemKeys::CountKey.toString(), u"3"_s},
    };
    doc.replaceSection(ProblemKeys::AltSection, alternatives);
    try {
        AtomicFile::write(target, doc.toBytes());
    } catch (const OptivarError&) {
        throw OptivarError(OptivarError::Code::CopyFailed, u"Ошибка копирования файла."_s);
    }
    return templateName;
}

QString LoadPrimer(const QString& datDir, const QString& templateName)
{
    const QString source = ProblemDirectory::filePath(datDir, templateName, Kind::Templates);
    const QString base = problemNameFor(templateName);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const QString name = ProblemDirectory::freeName(datDir, base, Kind::Problems);
        ProblemDirectory::checkName(name, Kind::Problems);
        try {
            ComUnit::CopyDataFile(source, ProblemDirectory::filePath(datDir, name, Kind::Problems), false);
            return name;
        } catch (const OptivarError& e) {
            if (e.code() != OptivarError::Code::NameExists)
                throw;
        }
    }
    throw OptivarError(OptivarError::Code::NameExists, ProblemDirectory::existsMessage(base, Kind::Problems));
}

} // namespace ProblemTemplates
