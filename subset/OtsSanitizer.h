#pragma once

#include <QString>

#include <atomic>
#include <memory>

class QProcess;

// How long ots-sanitize may take over one subset; a whole CJK font takes
// well under a second.
constexpr int sanitizerTimeoutMs = 60000;

// Debian's ots-sanitize on PATH (the sanitizer browsers run on every web
// font); empty when it is not installed.
QString findOtsSanitize();

// ots-sanitize at work on one font in a child process of its own, started at
// construction, so that the caller's own checks and conversions run while it
// reads. A run nobody waited for is killed with the object.
class SanitizerRun
{
public:
    explicit SanitizerRun(const QString &fontPath);
    ~SanitizerRun();
    SanitizerRun(const SanitizerRun &) = delete;
    SanitizerRun &operator=(const SanitizerRun &) = delete;

    // What ots-sanitize objects to: its first error, or that it did not
    // finish in time. Empty when it accepts the font or is not installed.
    // Blocks the calling thread, so never call it on the GUI's; setting
    // `stop` ends the wait at once (a cancelled run must not wait on it).
    QString defect(int timeoutMs = sanitizerTimeoutMs, const std::atomic<bool> *stop = nullptr);

private:
    void stop();

    std::unique_ptr<QProcess> process;
};

// The same for a run that has nothing else to do meanwhile.
QString sanitizerDefect(const QString &fontPath, int timeoutMs = sanitizerTimeoutMs,
                        const std::atomic<bool> *stop = nullptr);
