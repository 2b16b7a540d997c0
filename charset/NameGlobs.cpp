#include "charset/NameGlobs.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace {

constexpr qsizetype longestSuffix = 16;

// The key of a suffix of plain ASCII letters only: a regular expression
// ignores case beyond ASCII by rules of its own.
template <typename Char>
std::optional<std::pair<quint64, quint64>> suffixKey(const Char *suffix, qsizetype size)
{
    if (size == 0 || size > longestSuffix)
        return std::nullopt;
    quint64 halves[2] = {};
    for (qsizetype i = 0; i < size; ++i) {
        // Bytes of a listed name are unsigned, as UTF-16 code units are.
        char16_t c = char16_t(std::make_unsigned_t<Char>(suffix[i]));
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
        const auto key = glob.startsWith(QLatin1String("*.")) ? suffixKey(glob.utf16() + 2, glob.size() - 2)
                                                              : std::nullopt;
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

template <typename Char> bool NameGlobs::suffixListed(const Char *name, qsizetype size) const
{
    if (suffixes.empty())
        return false;
    for (qsizetype dot = size - 1; dot >= 0; --dot) {
        if (name[dot] == Char('.')) {
            const auto key = suffixKey(name + dot + 1, size - dot - 1);
            return key && std::binary_search(suffixes.cbegin(), suffixes.cend(), *key);
        }
    }
    return false;
}

bool NameGlobs::matches(const QString &name) const
{
    return suffixListed(name.utf16(), name.size()) || (anyOthers && others.match(name).hasMatch());
}

bool NameGlobs::matches(QLatin1StringView name) const
{
    return suffixListed(name.data(), name.size()) || (anyOthers && others.match(QString(name)).hasMatch());
}
