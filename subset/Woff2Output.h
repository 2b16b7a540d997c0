#pragma once

#include <QString>

#include <atomic>

// Compresses the font at `fontPath` into a new file `woff2Path` the way
// Debian's woff2_compress does, with the vfc-woff2 program found in
// `toolDirectory`. It takes seconds for a large CJK subset, so it runs as a
// child process that `stop` ends at once; this call blocks the calling
// thread meanwhile, so it belongs on a worker. Returns an empty string on
// success, else why it failed (libwoff2 refused the font, the program is
// missing, it was stopped); `woff2Path` is then not left behind.
QString compressWoff2(const QString &toolDirectory, const QString &fontPath, const QString &woff2Path,
                      const std::atomic<bool> *stop);
