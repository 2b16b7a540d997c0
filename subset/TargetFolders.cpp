#include "subset/TargetFolders.h"

#include "common/SystemReason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

bool createMissingFolders(const QString &folder, QStringList *created, QString *reason)
{
    // A dangling link counts as there: making a folder through it would put
    // the folder somewhere else.
    QStringList missing;
    QString path = QDir::cleanPath(folder);
    while (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    // mkdir(2) itself, as QDir does not keep the system's reason.
    for (const QString &each : missing) {
        if (::mkdir(QFile::encodeName(each).constData(), 0777) == 0) {
            created->append(each);
            continue;
        }
        const int code = errno;
        // Made meanwhile by someone else: as good as made here, but not ours to remove.
        if (code == EEXIST && QFileInfo(each).isDir())
            continue;
        *reason = systemReason(code);
        return false;
    }
    return true;
}

void removeCreatedFolders(const QStringList &created)
{
    for (qsizetype i = created.size() - 1; i >= 0; --i)
        QDir().rmdir(created.at(i));
}
