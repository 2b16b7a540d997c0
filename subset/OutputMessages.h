#pragma once

#include <QString>
#include <QStringList>

struct SubsetOutcome;

// The success text for a finished run: what was made, in the run's format,
// every file written and the size line. The missing-character note is the
// caller's to add.
QString generationDoneText(const SubsetOutcome &outcome);

// Whether to replace `existing`, the outputs that are already there.
QString overwriteQuestion(const QStringList &existing);
