#include "charset/TextFileScan.h"

#include "charset/EscapedText.h"
#include "charset/FolderListing.h"

#include <QFile>

#include <cstring>

namespace {
constexpr qsizetype binaryProbe = 8 * 1024;
constexpr qint64 smallFile = 256 * 1024;
} // namespace

TextFileScan scanTextFile(const QString &path, QByteArray *buffer, CodepointSet *found, qint64 *bytesRead,
                          std::optional<FileIdentity> *identity)
{
    QFile file;
    FileFacts facts;
    if (!openForReading(&file, path, &facts))
        return TextFileScan::Unreadable;
    // Something put in the file's place since it was listed.
    if (!facts.regular)
        return TextFileScan::NotRegular;
    *identity = facts.identity;
    if (facts.size > largestTextFile)
        return TextFileScan::TooLarge;
    // Nothing to read, and the kernel's /proc files all claim this size
    // while one of them (kmsg) never ends.
    if (facts.size == 0) {
        *bytesRead = 0;
        return TextFileScan::Read;
    }
    // The file may have grown since: one byte more than the limit tells.
    // The start of a large file comes first, so that a binary one is left
    // after a few kilobytes; a small one is read in one call, as a call
    // costs more than its bytes.
    buffer->resize(facts.size + 1);
    const qsizetype first = facts.size <= smallFile ? buffer->size() : binaryProbe;
    qsizetype size = file.read(buffer->data(), first);
    if (size < 0)
        return TextFileScan::Unreadable;
    if (std::memchr(buffer->constData(), 0, size_t(qMin(size, binaryProbe))))
        return TextFileScan::Binary;
    while (size > 0 && size <= largestTextFile) {
        if (size == buffer->size())
            buffer->resize(qMin<qsizetype>(size * 2, largestTextFile + 1));
        const qint64 got = file.read(buffer->data() + size, buffer->size() - size);
        if (got < 0)
            return TextFileScan::Unreadable;
        if (got == 0)
            break;
        size += got;
    }
    if (size > largestTextFile)
        return TextFileScan::TooLarge;
    *bytesRead = size;
    return collectEscapedText(QByteArrayView(buffer->constData(), size), found) ? TextFileScan::Read
                                                                                : TextFileScan::NotUtf8;
}
