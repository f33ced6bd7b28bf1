#include "storage/Respondents.h"

#include "storage/CodePage.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/QuestionnaireAnswers.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<IniDocument::Entry> sectionEntries(const IniDocument& doc, QStringView section)
{
    QList<IniDocument::Entry> entries;
    for (const QString& key : doc.keys(section))
        entries.append({key, doc.value(section, key).value_or(QString())});
    return entries;
}

QString readName(const IniDocument& doc, QStringView section)
{
    return doc.readString(section, Respondents::NameKey, u"?"_s).left(ComUnit::MaxNameLength);
}

} // namespace

std::optional<int> Respondent::answerNumber(int step) const
{
    if (step < 0 || std::size_t(step) >= answers.size())
        return std::nullopt;
    return QuestionnaireAnswers::answerNumber(answers[std::size_t(step)]);
}

namespace Respondents {

QString sectionName(int k)
{
    return u"Resp_"_s + QString::number(k);
}

int readCount(const IniDocument& doc)
{
    return std::clamp(doc.readInteger(Section, ProblemKeys::CountKey, 0), 0, MaxCount);
}

QStringList stepKeys(int critTotal, int altTotal)
{
    QStringList keys;
    for (int i = 0; i < critTotal; ++i) {
        for (int j = i + 1; j < critTotal; ++j)
            keys.append(ProblemKeys::qualPairKey(i, j));
    }
    for (int q = 0; q < critTotal; ++q) {
        for (int i = 0; i < altTotal; ++i) {
            for (int j = i + 1; j < altTotal; ++j)
                keys.append(ProblemKeys::altPairKey(i, j, q));
        }
    }
    return keys;
}

QList<Respondent> load(const IniDocument& doc)
{
    QList<Respondent> respondents;
    const int count = readCount(doc);
    if (count == 0)
        return respondents;
    // Looking up the comparisons the problem has, rather than listing each section's keys, halves the time:
    // 100 respondents of a 9 x 9 problem read in 9 ms of CPU instead of 16 ms.
    const QStringList keys = stepKeys(ProblemKeys::readCount(doc, ProblemKeys::QualSection),
                                      ProblemKeys::readCount(doc, ProblemKeys::AltSection));
    for (int k = 0; k < count; ++k) {
        const QString section = sectionName(k);
        if (!doc.hasSection(section))
            continue;
        Respondent r;
        r.number = k;
        r.name = readName(doc, section);
        r.answers.reserve(std::size_t(keys.size()));
        for (const QString& key : keys) {
            // NoAnswer is off the scale too, so a missing key and a value that is not a number end alike.
            const int value = doc.readInteger(section, key, Respondent::NoAnswer);
            r.answers.push_back(QuestionnaireAnswers::answerNumber(value) ? value : Respondent::NoAnswer);
        }
        respondents.append(std::move(r));
    }
    return respondents;
}

QList<Respondent> load(const IniFile& file)
{
    return load(*file.snapshot());
}

int indexOfName(const QList<Respondent>& respondents, const QString& name)
{
    for (int i = 0; i < respondents.size(); ++i) {
        if (respondents[i].name == name)
            return i;
    }
    return -1;
}

std::optional<QString> nameRefusal(const QString& name)
{
    if (name.trimmed().isEmpty())
        return u"Введите имя респондента."_s;
    if (name.size() > ComUnit::MaxNameLength)
        return u"Имя респондента длиннее 255 символов."_s;
    // A line end would end the name's line in the file; the other control characters cannot be seen or typed.
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 32 || c.unicode() == 127; }))
        return u"Имя респондента не должно содержать управляющих символов."_s;
    if (!CodePage::canEncode(name))
        return u"Имя респондента содержит символы, которых нет в кодовой странице 1251."_s;
    return std::nullopt;
}

AnswerList answerList(const QStringList& stepLines, const std::vector<std::optional<int>>& answerNumbers)
{
    AnswerList answers;
    const qsizetype count = std::min<qsizetype>(stepLines.size(), qsizetype(answerNumbers.size()));
    for (qsizetype p = 0; p < count; ++p) {
        const std::optional<int> a = answerNumbers[std::size_t(p)];
        if (a && *a >= QuestionnaireAnswers::FirstAnswer && *a <= QuestionnaireAnswers::LastAnswer)
            answers.append(
                {ComUnit::stepLinePart(stepLines[p], ComUnit::StepParts::Key), QuestionnaireAnswers::storedValue(*a)});
    }
    return answers;
}

int store(IniDocument& doc, const QString& name, const AnswerList& answers)
{
    const QString stored = name.left(ComUnit::MaxNameLength);
    const int count = readCount(doc);
    int number = -1;
    for (int k = 0; k < count && number < 0; ++k) {
        const QString section = sectionName(k);
        if (doc.hasSection(section) && readName(doc, section) == stored)
            number = k;
    }
    if (number < 0) {
        if (count >= MaxCount)
            return -1;
        number = count;
        doc.writeInteger(Section, ProblemKeys::CountKey, count + 1);
    }
    QList<IniDocument::Entry> entries;
    entries.reserve(answers.size() + 1);
    entries.append({NameKey.toString(), stored});
    for (const auto& [key, value] : answers)
        entries.append({key, QString::number(value)});
    doc.replaceSection(sectionName(number), entries);
    return number;
}

int store(IniFile& file, const QString& name, const AnswerList& answers)
{
    int number = -1;
    file.update([&](IniDocument& doc) { number = store(doc, name, answers); });
    return number;
}

void remove(IniDocument& doc, int number)
{
    const int count = readCount(doc);
    if (number < 0 || number >= count)
        return;
    // Read every section that moves before the first change: each change drops the document's index.
    std::vector<std::optional<QList<IniDocument::Entry>>> above;
    for (int k = number + 1; k < count; ++k) {
        const QString section = sectionName(k);
        above.push_back(doc.hasSection(section) ? std::optional(sectionEntries(doc, section)) : std::nullopt);
    }
    for (int k = number; k < count; ++k)
        doc.eraseSection(sectionName(k));
    for (int k = number + 1; k < count; ++k) {
        if (const auto& entries = above[std::size_t(k - number - 1)])
            doc.replaceSection(sectionName(k - 1), *entries);
    }
    doc.writeInteger(Section, ProblemKeys::CountKey, count - 1);
}

void remove(IniFile& file, int number)
{
    file.update([number](IniDocument& doc) { remove(doc, number); });
}

void remapKeys(IniDocument& doc, ProblemLists::Kind kind, const ProblemLists::PositionMap& map)
{
    const int count = readCount(doc);
    for (int k = 0; k < count; ++k) {
        const QString section = sectionName(k);
        if (doc.hasSection(section))
            doc.replaceSection(section, ProblemLists::remapJudgements(sectionEntries(doc, section), kind, map));
    }
}

} // namespace Respondents
