#pragma once

#include <QString>
#include <QStringList>

// Qt lists a family as "Name [Foundry]" when several foundries share the
// name; font services know only "Name". Returns the name without such a
// trailing bracketed foundry, or the name unchanged when it has none.
QString withoutFoundrySuffix(const QString &family);

// The names a family lookup tries, in order: the name itself (its foundry
// suffix removed), then its prefixes of one word fewer, two words fewer and
// so on down to the first word, joined with single spaces; no name twice.
// A picker may list "Family Style" where the font service only knows
// "Family", and a shorter name is the closest family to that.
QStringList fontFamilyCandidates(const QString &family);
