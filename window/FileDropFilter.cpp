#include "window/FileDropFilter.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

enum class DropKind { None, Font, Text };

QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

bool isFontFile(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("ttf"), QStringLiteral("otf"), QStringLiteral("ttc"),
                                         QStringLiteral("otc")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

FileDropFilter::FileDropFilter(QWidget *window, QWidget *textPage) : QObject(window), textPage(textPage)
{
    window->setAcceptDrops(true);
    textPage->setAcceptDrops(true);
    window->installEventFilter(this);
    // A drop goes to the innermost widget that takes drops, and which one
    // that is differs by style and widget (an edit field's viewport, say).
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList paths = localPaths(drop->mimeData());
    auto *widget = qobject_cast<QWidget *>(watched);
    DropKind kind = DropKind::None;
    if (paths.size() == 1 && isFontFile(paths.first()))
        kind = DropKind::Font;
    else if (!paths.isEmpty() && widget && textPage->isVisible() &&
             (widget == textPage || textPage->isAncestorOf(widget)))
        kind = DropKind::Text;
    if (kind == DropKind::None)
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, this, [this, kind, paths] {
            if (kind == DropKind::Font)
                Q_EMIT fontDropped(paths.first());
            else
                Q_EMIT textDropped(paths);
        });
    }
    return true;
}
