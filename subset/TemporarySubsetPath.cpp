#include "subset/TemporarySubsetPath.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>

QString temporarySubsetPath()
{
    const QString name = QStringLiteral("vfc_subset_%1_%2.ttf")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")))
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    return QDir(QDir::tempPath()).filePath(name);
}
