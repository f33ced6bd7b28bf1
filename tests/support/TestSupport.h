#pragma once

#include <QByteArray>
#include <QString>

class ProblemData;

/// Small helpers shared by the tests: fixture files and raw file access.
namespace TestSupport {

/// The folder of the shipped example problems.
QString examplesDir();

QByteArray readBytes(const QString& path);
/// Writes bytes to path, replacing it; fails the calling test through QVERIFY-like abort when impossible.
void writeBytes(const QString& path, const QByteArray& bytes);

/// Bytes in code page 1251 from UTF-8 source text.
QByteArray cp1251(const char* utf8);

/// A problem of n criteria (Цена, Качество, Срок, Сервис, then "?") and m alternatives (Первый, Второй, Третий,
/// Четвёртый, then "?"), its judgements given as the file holds them: "key=value" separated by blanks.
ProblemData problem(int n, int m, const QString& judgements = {});

} // namespace TestSupport
