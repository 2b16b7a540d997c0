#pragma once

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

// A list of globs matched against file and folder names, letter case
// ignored; nothing matches an empty list. A walk asks for every name it
// meets, and nearly all globs are "*.suffix": those are answered by looking
// up the name's suffix, the rest by one regular expression.
class NameGlobs
{
public:
    explicit NameGlobs(const QStringList &globs);

    bool matches(const QString &name) const;

private:
    QSet<QString> suffixes; // lower case, without the dot
    QRegularExpression others;
    bool anyOthers = false;
};
