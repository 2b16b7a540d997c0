#pragma once

#include "font/FontFace.h"
#include "subset/SubsetOptions.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// One slice to make: `codepoints` of `face` as a WOFF2 file at `woff2Path`.
struct SliceTask
{
    FontFace face;
    QList<uint> codepoints; // ascending, all of them in the face
    QString woff2Path;
    SubsetOptions options;
    QString toolDirectory; // where hb-subset and vfc-woff2 are
};

// Makes one slice on the calling thread, which it blocks for as long as its
// child processes work: hb-subset, the check that the subset maps exactly
// the slice's characters, vfc-woff2, then ots-sanitize on the WOFF2 as a
// browser reads it. Empty on success, with the file's size in `bytes`; else
// why it failed, naming the source, and no file of the slice is left.
// Setting `stop` ends every child at once.
QString buildSlice(const SliceTask &task, const std::atomic<bool> *stop, qint64 *bytes);

// Makes every slice of `tasks` on all cores at once, their sizes in
// `bytes` in the same order, `oneDone` called (from any thread) as each is
// ready. Empty on success; else the first failure, and then `stop` is set so
// that the other slices end at once and none is left.
QString buildSlicesInParallel(const QList<SliceTask> &tasks, std::atomic<bool> *stop, QList<qint64> *bytes,
                              const std::function<void()> &oneDone = {});
