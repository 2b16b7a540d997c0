#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

struct FileIdentity;
class CodepointSet;

// How reading one file for its characters ended.
enum class TextFileScan { Read, NotUtf8, Binary, TooLarge, NotRegular, Unreadable, ReadBefore };

// Asked with the identity of a file opened to be read (see FileFacts): false
// when the same file has been read under another name.
using FirstReading = std::function<bool(const FileIdentity &identity)>;

// Files above this size are left alone: no product's text comes in one.
constexpr qint64 largestTextFile = 64 * 1024 * 1024;

// Reads the file at `path` (a regular file when it was listed) and adds the
// characters it shows to `found` (see collectEscapedText()). A file with a
// NUL byte in its first 8 KiB is binary and adds nothing, nor does one over
// largestTextFile or one that turns out to be a device. `buffer` is reused
// from call to call; `bytesRead` gets the file's size when read. A file
// that claims to be empty is taken as read without reading it.
TextFileScan scanTextFile(const QString &path, QByteArray *buffer, CodepointSet *found, qint64 *bytesRead,
                          const FirstReading &firstReading);
