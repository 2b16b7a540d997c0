#include "charset/NameGlobs.h"

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype longestSuffix = 16;

// The key of a suffix of plain ASCII letters only: a regular expression
// ignores case beyond ASCII by rules of its own.
std::optional<std::pair<quint64, quint64>> suffixKey(QStringView suffix)
{
    if (suffix.isEmpty() || suffix.size() > longestSuffix)
        return std::nullopt;
    quint64 halves[2] = {};
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        char16_t c = suffix[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c |= 0x20;
        else if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-'))
            return std::nullopt;
        halves[i / 8] |= quint64(c) << (56 - 8 * (i % 8));
    }
    return std::make_pair(halves[0], halves[1]);
}

} // namespace

NameGlobs::NameGlobs(const QStringList &globs)
{
    QStringList parts;
    for (const QString &untrimmed : globs) {
        const QString glob = untrimmed.trimmed();
        if (glob.isEmpty())
            continue;
        const auto key =
            glob.startsWith(QLatin1String("*.")) ? suffixKey(QStringView(glob).mid(2)) : std::nullopt;
        if (key)
            suffixes.push_back(*key);
        else
            parts.append(QRegularExpression::wildcardToRegularExpression(glob));
    }
    std::sort(suffixes.begin(), suffixes.end());
    anyOthers = !parts.isEmpty();
    if (anyOthers) {
        others = QRegularExpression(parts.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
        others.optimize();
    }
}

bool NameGlobs::matches(const QString &name) const
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && !suffixes.empty()) {
        const auto key = suffixKey(QStringView(name).mid(dot + 1));
        if (key && std::binary_search(suffixes.cbegin(), suffixes.cend(), *key))
            return true;
    }
    return anyOthers && others.match(name).hasMatch();
}
