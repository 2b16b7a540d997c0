#include "web/SliceFolder.h"

#include "common/SystemReason.h"
#include "common/UiText.h"
#include "subset/TargetFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {

QString saveFailure(const QString &path, const QString &reason)
{
    return uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(path) + QLatin1Char('\n') + reason;
}

QString besideTarget(const QString &target, const char *kind)
{
    const QFileInfo info(target);
    const QString name = QStringLiteral(".%1.%2-%3")
                             .arg(info.fileName(), QLatin1String(kind),
                                  QUuid::createUuid().toString(QUuid::Id128).left(8));
    return info.dir().filePath(name);
}

} // namespace

QString sliceFolderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || (info.exists() && !info.isDir()))
        return uiText("The output folder is a file: %1", "输出文件夹是一个文件: %1").arg(folder);
    return QString();
}

bool makeStagingFolder(const QString &target, QString *staging, QStringList *createdFolders, QString *error)
{
    QString reason;
    const QString parent = QFileInfo(QDir::cleanPath(target)).path();
    if (!createMissingFolders(parent, createdFolders, &reason)) {
        *error = saveFailure(target, reason);
        return false;
    }
    const QString path = besideTarget(QDir::cleanPath(target), "partial");
    if (!QDir().mkdir(path)) {
        *error = saveFailure(target, systemReason(errno));
        return false;
    }
    *staging = path;
    return true;
}

bool placeSliceFolder(const QString &staging, const QString &target, QString *error)
{
    const QByteArray from = QFile::encodeName(staging);
    const QByteArray to = QFile::encodeName(QDir::cleanPath(target));
    if (!QFileInfo(target).isDir()) {
        if (std::rename(from.constData(), to.constData()) == 0)
            return true;
        *error = saveFailure(target, systemReason(errno));
        return false;
    }
    if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) != 0) {
        // A file system without the exchange: the old folder steps aside first.
        const QString old = besideTarget(QDir::cleanPath(target), "old");
        const QByteArray aside = QFile::encodeName(old);
        if (errno != EINVAL || std::rename(to.constData(), aside.constData()) != 0) {
            *error = saveFailure(target, systemReason(errno));
            return false;
        }
        if (std::rename(from.constData(), to.constData()) != 0) {
            const int code = errno;
            std::rename(aside.constData(), to.constData());
            *error = saveFailure(target, systemReason(code));
            return false;
        }
        QDir(old).removeRecursively();
        return true;
    }
    // The old folder now lies where the new one was made.
    QDir(staging).removeRecursively();
    return true;
}
