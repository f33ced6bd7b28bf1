#pragma once

#include <QString>

/// Templates of problems: a problem's criteria with three stock alternatives and
/// no judgements, kept as a ".qzp" file beside the problems.
namespace ProblemTemplates {

/// "Шаблон ", with its blank: the start of the name of every template the program makes.
inline constexpr char16_t Prefix[] = u"Шаблон ";

/// "Шаблон " + the problem's name.
QString templateNameFor(const QString& problemName);
/// The template's name without the first "Шаблон " in it.
QString problemNameFor(const QString& templateName);

/// Saves a problem as the template "Шаблон " + name (replacing a template of that
/// name) and returns the template's name. The copy is all or nothing; a failure
/// while turning the copy into a template is not reported and leaves the copy.
QString SaveAsPrimer(const QString& datDir, const QString& problemName);
/// Makes a new problem from a template, unchanged, under the first free name of
/// problemNameFor(templateName), " (2)", " (3)", ...; returns that name. No
/// existing problem is ever replaced.
QString LoadPrimer(const QString& datDir, const QString& templateName);

} // namespace ProblemTemplates
