#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct FileIdentity;
class CodepointSet;

// How reading one file for its characters ended.
enum class TextFileScan { Read, NotUtf8, Binary, TooLarge, NotRegular, Unreadable };

// Files above this size are left alone: no product's text comes in one.
constexpr qint64 largestTextFile = 64 * 1024 * 1024;

// Reads the file at `path` (a regular file when it was listed) and adds the
// characters it shows to `found` (see collectEscapedText()). A file with a
// NUL byte in its first 8 KiB is binary and adds nothing, nor does one over
// largestTextFile or one that turns out to be a device. `buffer` is reused
// from call to call; `bytesRead` gets the file's size when read. A file
// that claims to be empty is taken as read without reading it. `identity`
// gets the file's identity (see FileFacts) once it is open and found to be
// a regular file: a caller can tell the same file read under two names.
TextFileScan scanTextFile(const QString &path, QByteArray *buffer, CodepointSet *found, qint64 *bytesRead,
                          std::optional<FileIdentity> *identity);
