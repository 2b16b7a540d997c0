#include "common/SystemReason.h"

#include "common/UiText.h"

#include <QFileDevice>

#include <cerrno>

namespace {

struct KnownReason
{
    int errnoValue;
    const char *english; // glibc's own words, which English users know
    const char *chinese;
};

const KnownReason knownReasons[] = {
    {ENOENT, "No such file or directory", "文件或文件夹不存在"},
    {EACCES, "Permission denied", "权限不足"},
    {EPERM, "Operation not permitted", "不允许的操作"},
    {EROFS, "Read-only file system", "文件系统为只读"},
    {ENOSPC, "No space left on device", "设备上没有剩余空间"},
    {ENOTDIR, "Not a directory", "不是文件夹"},
    {EISDIR, "Is a directory", "是一个文件夹"},
};

} // namespace

QString systemReason(int errnoValue)
{
    // The system's words follow the locale, not the window's language, so
    // even the English ones come from here rather than from strerror().
    for (const KnownReason &known : knownReasons) {
        if (known.errnoValue == errnoValue)
            return uiText(known.english, known.chinese);
    }
    return qt_error_string(errnoValue);
}

QString systemReasonFromText(const QString &words)
{
    // Only the text is left by now, so the errno value behind it is found by
    // its words: the locale's from this process, C's from a child process.
    for (const KnownReason &known : knownReasons) {
        if (words == QLatin1String(known.english) || words == qt_error_string(known.errnoValue))
            return systemReason(known.errnoValue);
    }
    return words;
}

QString systemReason(const QFileDevice &file)
{
    return systemReasonFromText(file.errorString());
}
