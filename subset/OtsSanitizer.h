#pragma once

#include <QString>

#include <atomic>

// How long ots-sanitize may take over one subset; a whole CJK font takes
// well under a second.
constexpr int sanitizerTimeoutMs = 60000;

// Debian's ots-sanitize on PATH (the sanitizer browsers run on every web
// font); empty when it is not installed.
QString findOtsSanitize();

// What ots-sanitize objects to in the font at `fontPath`: its first error,
// or that it did not finish in time. Empty when it accepts the font or is
// not installed. Blocks the calling thread, so never call it on the GUI's;
// setting `stop` ends the wait at once (a cancelled run must not wait on it).
QString sanitizerDefect(const QString &fontPath, int useEnglish, int timeoutMs = sanitizerTimeoutMs,
                        const std::atomic<bool> *stop = nullptr);
