#pragma once

#include <QString>

// One line for the done message: how big the written subset is, so that two
// runs with other options can be compared.
QString outputSizeLine(const QString &writtenPath, int useEnglish);
