// vfc-woff2 FONT OUTPUT: compresses FONT to a new WOFF2 file OUTPUT, as
// woff2_compress does (brotli quality 11, glyf and loca transformed).
//
// The programs run this as a child process rather than calling libwoff2
// themselves: compressing a large CJK subset takes many seconds and libwoff2
// cannot be interrupted, while a child process can be killed the moment the
// user cancels. Exit status 0 on success, 1 when the font is refused or the
// output cannot be written (which is then removed), 2 on a wrong call.

#include <woff2/encode.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vfc-woff2 FONT OUTPUT\n");
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string font((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    const auto *data = reinterpret_cast<const uint8_t *>(font.data());
    size_t length = woff2::MaxWOFF2CompressedSize(data, font.size());
    std::string woff2(length, '\0');
    if (!woff2::ConvertTTFToWOFF2(data, font.size(), reinterpret_cast<uint8_t *>(woff2.data()), &length)) {
        std::fprintf(stderr, "vfc-woff2: %s could not be compressed\n", argv[1]);
        return 1;
    }
    // "x": never writes over a file that is already there.
    std::FILE *output = std::fopen(argv[2], "wbx");
    if (!output) {
        std::perror(argv[2]);
        return 1;
    }
    const bool written = std::fwrite(woff2.data(), 1, length, output) == length;
    if (std::fclose(output) != 0 || !written) {
        std::perror(argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
