#include "report/ui/DocumentOpener.h"

#include "shell/ui/Dialogs.h"
#include "storage/ComUnit.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

InterceptedOpener* g_interceptor = nullptr;

} // namespace

namespace DocumentOpener {

bool open(QWidget* parent, const QString& path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    const bool opened = g_interceptor ? g_interceptor->launch(url) : QDesktopServices::openUrl(url);
    if (!opened)
        Dialogs::information(parent, u"Сообщение"_s, notOpenedText(path));
    return opened;
}

bool openFolder(QWidget* parent, const QString& folder)
{
    const QUrl url = QUrl::fromLocalFile(folder);
    const bool opened = g_interceptor ? g_interceptor->launch(url) : QDesktopServices::openUrl(url);
    if (!opened)
        Dialogs::information(parent, u"Сообщение"_s,
                             u"Открыть папку не удалось.\nПапка: "_s + QDir::toNativeSeparators(folder));
    return opened;
}

QString notOpenedText(const QString& path)
{
    return u"Документ сохранен, но открыть его не удалось: нет программы для документов Word.\nФайл: "_s +
           QDir::toNativeSeparators(path);
}

TFormWord::Destination destination(QWidget* parent, TFormWord::Kind kind)
{
    return {ComUnit::DatDir,
            QFileInfo(ComUnit::ProblemIni.path()).completeBaseName(),
            kind,
            [parent](const QString& path) { return open(parent, path); },
            {}};
}

} // namespace DocumentOpener

InterceptedOpener::InterceptedOpener(bool opens) : m_opens(opens), m_previous(g_interceptor)
{
    g_interceptor = this;
}

InterceptedOpener::~InterceptedOpener()
{
    g_interceptor = m_previous;
}

bool InterceptedOpener::launch(const QUrl& url)
{
    m_opened.append(url.toLocalFile());
    return m_opens;
}
