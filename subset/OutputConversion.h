#pragma once

#include "subset/SubsetFinishing.h"

// Turns the font hb-subset wrote to `subsetPath` into the files of the
// request's format, staged beside it, and sizes it up for the report. Refuses
// a font that keeps no character at all: browsers reject its empty map.
// Every file it starts is listed in the result, even after a failure, so
// that the caller can remove them.
FinishingResult convertSubsetOutput(const SubsetRequest &request, const QString &subsetPath);
