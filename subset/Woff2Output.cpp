#include "subset/Woff2Output.h"

#include <QMutex>
#include <QtGlobal>

#include <cstdio>

#include <woff2/encode.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Debian's libwoff2 announces every conversion ("Compressed 5612 to 3659.")
// on standard error, which would mix its words, in English and about
// internal sizes, into vfc-subset's own messages. Standard error is pointed
// at /dev/null while it runs; one conversion at a time, so that two never
// swap the saved descriptor between them.
class QuietStandardError
{
public:
    QuietStandardError()
    {
#ifdef Q_OS_UNIX
        lock.lock();
        std::fflush(stderr);
        saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
#endif
    }
    ~QuietStandardError()
    {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        if (saved >= 0) {
            ::dup2(saved, STDERR_FILENO);
            ::close(saved);
        }
        lock.unlock();
#endif
    }
    QuietStandardError(const QuietStandardError &) = delete;
    QuietStandardError &operator=(const QuietStandardError &) = delete;

private:
    static QMutex lock;
    int saved = -1;
};

QMutex QuietStandardError::lock;

// Brotli is built for plain SSE2. On x86 processors with AVX, SSE code that
// runs while earlier code on the thread has left the upper halves of the
// vector registers in use pays a penalty on every switch between the two
// kinds of code: compressing a CJK subset took a fifth longer on the
// generation's worker thread than in woff2_compress. Clearing them first, as
// compilers do on leaving their own AVX code, brings it level.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx"))) void clearUpperVectorHalvesWithAvx()
{
    _mm256_zeroupper();
}

void clearUpperVectorHalves()
{
    if (__builtin_cpu_supports("avx"))
        clearUpperVectorHalvesWithAvx();
}
#else
void clearUpperVectorHalves()
{}
#endif

} // namespace

bool encodeWoff2(const QByteArray &font, QByteArray *woff2)
{
    const auto *data = reinterpret_cast<const uint8_t *>(font.constData());
    const size_t length = size_t(font.size());
    size_t resultLength = woff2::MaxWOFF2CompressedSize(data, length);
    QByteArray result(qsizetype(resultLength), Qt::Uninitialized);
    const woff2::WOFF2Params params; // quality 11, as woff2_compress
    bool converted;
    {
        QuietStandardError quiet;
        clearUpperVectorHalves();
        converted = woff2::ConvertTTFToWOFF2(data, length, reinterpret_cast<uint8_t *>(result.data()),
                                             &resultLength, params);
    }
    if (!converted)
        return false;
    result.truncate(qsizetype(resultLength));
    *woff2 = result;
    return true;
}
