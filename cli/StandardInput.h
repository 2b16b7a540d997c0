#pragma once

#include <QString>

// Standard input as text, for "-" wherever a text file may be named: read
// to its end as readUtf8Text() reads a file (UTF-8, CR LF arriving as LF,
// nothing at all refused as empty). False, with the reason naming "-".
bool readStandardInput(QString *text, QString *errorMessage);
