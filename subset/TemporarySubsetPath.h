#pragma once

#include <QString>

// Where hb-subset writes before the result is placed:
// "vfc_subset_<yyyyMMddHHmmss>_<8 hex digits>.ttf" in the system's temporary
// folder; the random part keeps two runs within one second apart.
QString temporarySubsetPath();
