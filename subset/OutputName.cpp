#include "subset/OutputName.h"

QString cleanOutputName(const QString &name)
{
    QString cleaned;
    cleaned.reserve(name.size());
    for (const QChar unit : name) {
        if (unit.isLetterOrNumber() || unit == QLatin1Char('_') || unit == QLatin1Char('-') ||
            unit == QLatin1Char('.'))
            cleaned.append(unit);
    }
    return cleaned;
}

QString outputFileName(const QString &name)
{
    const QString cleaned = cleanOutputName(name.trimmed());
    if (cleaned.isEmpty())
        return cleaned;
    if (cleaned.endsWith(QLatin1String(".ttf.ttf"), Qt::CaseInsensitive))
        return cleaned.left(cleaned.size() - 4);
    if (cleaned.endsWith(QLatin1String(".ttf"), Qt::CaseInsensitive))
        return cleaned;
    return cleaned + QLatin1String(".ttf");
}
