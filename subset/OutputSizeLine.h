#pragma once

#include <QString>

// One line for the done message: how big the written subset is beside its
// source, so that two runs with other options can be compared.
QString outputSizeLine(const QString &sourcePath, const QString &writtenPath, int useEnglish);
