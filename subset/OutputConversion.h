#pragma once

#include "subset/SubsetFinishing.h"
#include "subset/SubsetFontFacts.h"

// Turns the font hb-subset wrote to `subsetPath` into the files of the
// request's format, staged beside it, and sizes it up for the report.
// Every file it starts is listed in the result, even after a failure, so
// that the caller can remove them.
// `font` holds the bytes at `subsetPath`, `facts` what they were read to hold.
// Setting `stop` ends a long compression at once.
FinishingResult convertSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                    const QByteArray &font, const SubsetFontFacts &facts,
                                    const std::atomic<bool> *stop);

// Why a font hb-subset made must not be written: it keeps no character at
// all, and browsers reject its empty map. Empty when it keeps some, or
// cannot be read (the output check says why).
QString emptySubsetProblem(const SubsetRequest &request, const SubsetFontFacts &facts);
