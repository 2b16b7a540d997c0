#pragma once

#include "charset/LegacyEncoding.h"

#include <QString>

// Standard input as text, for "-" wherever a text file may be named: read
// to its end as readTextFile() reads a file (UTF-8 or `legacyEncoding`, CR LF
// arriving as LF, nothing at all refused as empty). False, with the reason
// naming "-".
bool readStandardInput(SourceEncoding legacyEncoding, QString *text, QString *errorMessage);
