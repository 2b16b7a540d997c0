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

QString outputFileName(const QString &name, const QString &suffix)
{
    const QString cleaned = cleanOutputName(name.trimmed());
    if (cleaned.isEmpty())
        return cleaned;
    if (cleaned.endsWith(suffix + suffix, Qt::CaseInsensitive))
        return cleaned.chopped(suffix.size());
    if (cleaned.endsWith(suffix, Qt::CaseInsensitive))
        return cleaned;
    return cleaned + suffix;
}
