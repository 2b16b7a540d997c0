#include "font/platform/FontFamilyCandidates.h"

QString withoutFoundrySuffix(const QString &family)
{
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    // Foundry names may hold spaces ("URW "), so the suffix runs from the
    // last " [" to the end, with no bracket in between.
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    if (open <= 0)
        return family;
    const QStringView foundry = QStringView(family).mid(open + 2, family.size() - open - 3);
    if (foundry.contains(QLatin1Char('[')) || foundry.contains(QLatin1Char(']')))
        return family;
    return family.left(open);
}

QStringList fontFamilyCandidates(const QString &family)
{
    const QString name = withoutFoundrySuffix(family);
    QStringList candidates{name};
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts, Qt::CaseSensitive);
    for (qsizetype k = words.size() - 1; k >= 1; --k) {
        const QString prefix = words.mid(0, k).join(QLatin1Char(' '));
        if (!candidates.contains(prefix, Qt::CaseSensitive))
            candidates.append(prefix);
    }
    return candidates;
}
