#include "report/ui/ExportNotice.h"

#include "report/ui/DocumentOpener.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>

using namespace Qt::Literals::StringLiterals;

ExportNotice::ExportNotice(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    // Out of the tab order: the line comes and goes, the screen's own controls stay put.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QLabel::linkActivated, this, &ExportNotice::openFolder);
}

ExportNotice::~ExportNotice() = default;

void ExportNotice::showSaved(const QString& path)
{
    m_path = path;
    setToolTip(QDir::toNativeSeparators(path));
    fill();
    // Watched only while there is something to take away.
    qApp->installEventFilter(this);
}

void ExportNotice::clearNotice()
{
    qApp->removeEventFilter(this);
    m_path.clear();
    setToolTip(QString());
    clear();
}

// A name too long for the line is shortened in the problem's part: its last
// three words (the kind of document, its date and time) stay whole, so the
// user tells the documents of one problem apart; the tooltip has it all.
void ExportNotice::fill()
{
    if (m_path.isEmpty())
        return;
    const QString saved = u"Сохранено в папке «Отчеты»: "_s;
    const QString gap = u"   "_s;
    const QString link = u"Открыть папку"_s;
    const QFontMetrics metrics(font());
    const QString name = QFileInfo(m_path).fileName();
    const QString tail = name.section(u' ', -3);
    const int room =
        contentsRect().width() - metrics.horizontalAdvance(saved + gap + link + tail) - 2 * metrics.averageCharWidth();
    const QString head = metrics.elidedText(name.chopped(tail.size()), Qt::ElideMiddle, qMax(room, 0));
    setText(u"<span style=\"white-space:pre\">"_s + (saved + head + tail).toHtmlEscaped() + gap +
            u"<a href=\"folder\">"_s + link + u"</a></span>"_s);
}

void ExportNotice::openFolder()
{
    if (!m_path.isEmpty())
        DocumentOpener::openFolder(this, QFileInfo(m_path).absolutePath());
}

bool ExportNotice::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress || type == QEvent::Hide) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool inWindow = widget && widget->window() == window();
        const bool onLine = widget == this;
        if (inWindow && (type == QEvent::Hide ? widget == window() : !onLine))
            clearNotice();
    }
    return QLabel::eventFilter(watched, event);
}

void ExportNotice::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fill();
}
