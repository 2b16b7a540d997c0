#include "charset/NameGlobs.h"

namespace {

bool isPlainSuffixLetter(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_') || c == QLatin1Char('-');
}

// The suffix of "*.suffix" with plain ASCII letters only, else empty: a
// regular expression ignores case beyond ASCII by rules of its own.
QString plainSuffix(const QString &glob)
{
    if (glob.size() < 3 || !glob.startsWith(QLatin1String("*.")))
        return {};
    const QString suffix = glob.mid(2);
    return std::all_of(suffix.cbegin(), suffix.cend(), isPlainSuffixLetter) ? suffix.toLower() : QString();
}

} // namespace

NameGlobs::NameGlobs(const QStringList &globs)
{
    QStringList parts;
    for (const QString &untrimmed : globs) {
        const QString glob = untrimmed.trimmed();
        if (glob.isEmpty())
            continue;
        if (const QString suffix = plainSuffix(glob); !suffix.isEmpty())
            suffixes.insert(suffix);
        else
            parts.append(QRegularExpression::wildcardToRegularExpression(glob));
    }
    anyOthers = !parts.isEmpty();
    if (anyOthers) {
        others = QRegularExpression(parts.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
        others.optimize();
    }
}

bool NameGlobs::matches(const QString &name) const
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && !suffixes.isEmpty()) {
        const QStringView suffix = QStringView(name).mid(dot + 1);
        if (std::all_of(suffix.cbegin(), suffix.cend(), isPlainSuffixLetter) &&
            suffixes.contains(suffix.toString().toLower()))
            return true;
    }
    return anyOthers && others.match(name).hasMatch();
}
