#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>

struct SubsetRequest;

// What keeps the font at `subsetPath` from standing for the subset of
// `source` that keeps `requested` (ascending), in a few words of the chosen
// language ("no hhea table", "3 requested characters lost"). Empty when it
// opens as a face, holds every table that consumers require, and maps
// exactly those requested code points to real glyphs that the source does.
// hb-subset exits 0 for some damaged sources although what it wrote lacks
// outlines or whole tables.
QString subsetFontDefect(const FontFace &source, const QList<uint> &requested, const QString &subsetPath);

// The whole message for a subset that failed a check with `defect`, naming
// the source; empty for an empty defect.
QString subsetDamageMessage(const SubsetRequest &request, const QString &defect);
