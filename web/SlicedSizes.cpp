#include "web/SlicedSizes.h"

#include "common/UiText.h"
#include "subset/SizeReport.h"
#include "web/SliceBuilder.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>

namespace {

// A cut aims this far below the limit, so that most slices fit at once.
constexpr double aim = 0.92;

// The sizes of the slices between `ends`, made in parallel; those already
// measured are taken from `known`, keyed by their first and last index.
QString measure(const SizedSliceRun &run, const SliceOrder &order, const QList<qsizetype> &ends,
                QHash<QPair<qsizetype, qsizetype>, qint64> *known, std::atomic<bool> *stop)
{
    QList<SliceTask> tasks;
    QList<QPair<qsizetype, qsizetype>> keys;
    qsizetype start = 0;
    for (qsizetype end : ends) {
        const QPair<qsizetype, qsizetype> key(start, end);
        if (!known->contains(key)) {
            QList<uint> codepoints = order.codepoints.mid(start, end - start);
            std::sort(codepoints.begin(), codepoints.end());
            const QString path = QDir(run.scratchFolder).filePath(QStringLiteral("%1-%2.woff2").arg(start).arg(end));
            tasks.append({run.face, codepoints, path, run.options, run.toolDirectory});
            keys.append(key);
        }
        start = end;
    }
    QList<qint64> bytes;
    const QString error = buildSlicesInParallel(tasks, stop, &bytes);
    for (const SliceTask &task : tasks)
        QFile::remove(task.woff2Path);
    for (qsizetype i = 0; error.isEmpty() && i < keys.size(); ++i)
        known->insert(keys.at(i), bytes.at(i));
    return error;
}

QString tooSmall(const SizedSliceRun &run, qint64 bytes)
{
    return uiText("The slice size of %1 is too small: one slice of this font needs %2.",
                  "分片大小 %1 过小：该字库的一个分片需要 %2。")
        .arg(byteSizeText(run.limitBytes), byteSizeText(bytes));
}

} // namespace

bool planSizedSlices(const SizedSliceRun &run, const SliceOrder &order, std::atomic<bool> *stop,
                     QList<QList<uint>> *slices, QString *error)
{
    const qsizetype count = order.codepoints.size();
    const qint64 allowed = qint64(double(run.limitBytes) * sliceSizeTolerance);
    QHash<QPair<qsizetype, qsizetype>, qint64> known;
    // A first trial of a few hundred characters tells what one costs.
    const qsizetype probe = std::min(count, std::max<qsizetype>(order.punctuationCount, 300));
    *error = measure(run, order, {probe}, &known, stop);
    if (!error->isEmpty() || stop->load())
        return false;
    const double perCharacter = double(known.value({0, probe})) / double(probe);
    const qsizetype step = std::max<qsizetype>(1, qsizetype(double(run.limitBytes) * aim / perCharacter));
    QList<qsizetype> ends;
    for (qsizetype end = std::max(order.punctuationCount, std::min(step, count)); ; end += step) {
        ends.append(std::min(end, count));
        if (end >= count)
            break;
    }
    // Each slice too large is cut where its own cost per character says,
    // until all fit; a slice that cannot be cut any more is the limit's fault.
    for (int round = 0; round < 32; ++round) {
        *error = measure(run, order, ends, &known, stop);
        if (!error->isEmpty() || stop->load())
            return false;
        QList<qsizetype> refined;
        qsizetype start = 0;
        bool changed = false;
        for (qsizetype end : ends) {
            const qint64 bytes = known.value({start, end});
            const qsizetype size = end - start;
            const bool atomic = size == 1 || (start == 0 && end == order.punctuationCount);
            if (bytes > allowed && atomic) {
                *error = tooSmall(run, bytes);
                return false;
            }
            if (bytes > allowed) {
                qsizetype keep = std::clamp<qsizetype>(qsizetype(double(size) * double(run.limitBytes) * aim / double(bytes)),
                                                       1, size - 1);
                if (start == 0)
                    keep = std::max(keep, order.punctuationCount);
                refined.append(start + keep);
                changed = true;
            }
            refined.append(end);
            start = end;
        }
        ends = refined;
        if (!changed) {
            *slices = cutSliceOrder(order, ends);
            return true;
        }
    }
    *slices = cutSliceOrder(order, ends);
    return true;
}
