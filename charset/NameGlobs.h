#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// A list of globs matched against file and folder names, letter case
// ignored; nothing matches an empty list. A walk asks for every name it
// meets, and nearly all globs are "*.suffix": those are answered by looking
// up the name's suffix, the rest by one regular expression.
class NameGlobs
{
public:
    explicit NameGlobs(const QStringList &globs);

    bool matches(const QString &name) const;
    // The same for a name of ASCII characters only, as a folder lists it:
    // no string is built unless a glob other than a suffix is asked.
    bool matches(QLatin1StringView name) const;

private:
    template <typename Char> bool suffixListed(const Char *name, qsizetype size) const;

    // A suffix of up to sixteen ASCII letters, in lower case, a byte each:
    // looking one up takes no string to build and compares two numbers.
    using SuffixKey = std::pair<quint64, quint64>;

    std::vector<SuffixKey> suffixes; // sorted
    QRegularExpression others;
    bool anyOthers = false;
};
