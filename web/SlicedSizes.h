#pragma once

#include "font/FontFace.h"
#include "subset/SubsetOptions.h"
#include "web/SlicePlan.h"

#include <QList>
#include <QString>

#include <atomic>

// Where and how the slices are measured while a size-limited cut is found.
struct SizedSliceRun
{
    FontFace face;          // the face that is measured: the family's first
    SubsetOptions options;
    QString toolDirectory;
    QString scratchFolder;  // an empty folder for the trial slices
    qint64 limitBytes = 0;
};

// How much over the limit a slice may be: WOFF2 sizes are only known once
// compressed, so a cut aims below the limit and accepts this much above.
constexpr double sliceSizeTolerance = 1.10;

// Cuts `order` so that each slice, made as WOFF2, is at most the limit
// (within the tolerance): the sizes of trial slices set the cut, and each
// slice that comes out too large is cut again and made anew. False, with
// the reason, when one character or the punctuation alone exceeds the limit,
// or a slice cannot be made; false with no reason when `stop` was set.
bool planSizedSlices(const SizedSliceRun &run, const SliceOrder &order, std::atomic<bool> *stop,
                     QList<QList<uint>> *slices, QString *error);
