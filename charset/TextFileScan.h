#pragma once

#include <QByteArray>
#include <QString>

class CodepointSet;

// How reading one file for its characters ended.
enum class TextFileScan { Read, NotUtf8, Binary, TooLarge, NotRegular, Unreadable };

// Files above this size are left alone: no product's text comes in one.
constexpr qint64 largestTextFile = 64 * 1024 * 1024;

// Reads the file at `path` (a regular file when it was listed) and adds the
// characters it shows to `found` (see collectEscapedText()). A file with a
// NUL byte in its first 8 KiB is binary and adds nothing, nor does one that
// has grown past largestTextFile or turns out to be a device. `buffer` is
// reused from call to call; `bytesRead` gets the file's size when read. A
// file listed as empty is taken as read without opening it.
TextFileScan scanTextFile(const QString &path, qint64 listedSize, QByteArray *buffer, CodepointSet *found,
                          qint64 *bytesRead);
