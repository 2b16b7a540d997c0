#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes `content` as the whole file; false when that fails.
inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
