#pragma once

#include "subset/SubsetOptions.h"

#include <QString>

// What the subset keeps beyond its characters, on the command line:
// --layout=all|common|none, --no-hinting, --names=default|licence|all and
// --instance=TAG=VALUE,...
bool isSubsetOptionFlag(const QString &name);
bool isSubsetOptionWithValue(const QString &name);

// Applies one of the options above to `options` (`value` is null for the
// flag). False, with the reason naming what is allowed in `error`, when the
// value is none of those.
bool takeSubsetOption(const QString &name, const QString *value, SubsetOptions *options, QString *error);

// The help's section about them.
QString subsetOptionsHelp();
