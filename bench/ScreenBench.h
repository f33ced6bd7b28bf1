#pragma once

// What the benchmarks of the screens share: a data folder of their own, lists
// written as a problem file holds them, a button click, and a main that runs
// offscreen and fails when a message box would have waited for a person.

#include "shell/ui/Dialogs.h"
#include "shell/ui/Wizard.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace ScreenBench {

/// A temporary folder with DAT in it, the current folder while it lives.
class Folder
{
public:
    Folder() : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
        QDir().mkpath(QStringLiteral("DAT"));
    }
    ~Folder() { QDir::setCurrent(m_previous); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    void write(const QString& file, const QByteArray& bytes)
    {
        QFile f(m_dir.path() + QStringLiteral("/DAT/") + file);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

/// A section of n named items and its "Count".
inline QByteArray listOf(const char* section, const char* prefix, int n)
{
    QByteArray out = QByteArray("[") + section + "]\r\n";
    for (int i = 0; i < n; ++i)
        out += prefix + QByteArray::number(i) + "=item " + QByteArray::number(i) + "\r\n";
    return out + "Count=" + QByteArray::number(n) + "\r\n";
}

inline void clickButton(QWidget* screen, const QString& name)
{
    if (auto* button = screen->findChild<QPushButton*>(name))
        button->click();
}

/// The whole main of a screen benchmark.
inline int run(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Wizard::prepareApplication();
    ScriptedDialogs noBoxes; // a box would wait for a person; none is expected
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!noBoxes.unexpected().isEmpty()) {
        for (const QString& call : noBoxes.unexpected())
            std::fprintf(stderr, "%s\n", qPrintable(call));
        return 1;
    }
    return 0;
}

} // namespace ScreenBench
