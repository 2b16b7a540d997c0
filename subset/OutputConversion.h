#pragma once

#include "subset/SubsetFinishing.h"

// Turns the font hb-subset wrote to `subsetPath` into the files of the
// request's format, staged beside it, and sizes it up for the report.
// Every file it starts is listed in the result, even after a failure, so
// that the caller can remove them.
FinishingResult convertSubsetOutput(const SubsetRequest &request, const QString &subsetPath);

// Why the font at `subsetPath` must not be written although hb-subset made
// it: it keeps no character at all, and browsers reject its empty map.
// Empty when it keeps some, or cannot be read (the output check says why).
QString emptySubsetProblem(const SubsetRequest &request, const QString &subsetPath);
