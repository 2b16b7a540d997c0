#!/usr/bin/python3
"""Writes charset/StandardCharsetData.cpp, the standard character sets that
the custom-text page and vfc-subset --charset offer, from Debian's own data:

  unicode-data: /usr/share/unicode/Unihan_OtherMappings.txt.bz2
  locales:      /usr/share/i18n/charmaps/{GB2312,EUC-JP,EUC-KR}.gz

Run it again (with /usr/bin/python3, standard library only) when those
packages change:

  /usr/bin/python3 charset/generate_charsets.py --output charset/StandardCharsetData.cpp

Every set keeps its own order: TGH position, GB 2312 row and cell, Big5
code, charmap code, code point order for the Jōyō list.
"""

import argparse
import bz2
import gzip
import hashlib
import sys

UNIHAN = "/usr/share/unicode/Unihan_OtherMappings.txt.bz2"
CHARMAPS = "/usr/share/i18n/charmaps"

# Final digits end a number; continuation digits carry its lower five bits
# and say that more follow. None needs escaping in a C++ string literal.
DIGITS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/"
LINE_WIDTH = 200  # a data blob: long lines keep the file short


def read_unihan(path):
    fields = {"kTGH": {}, "kGB0": {}, "kBigFive": {}, "kJoyoKanji": {}}
    version = None
    with bz2.open(path, "rt", encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("# Unicode version:"):
                version = line.split(":", 1)[1].strip()
            if line.startswith("#") or not line.strip():
                continue
            codepoint, field, value = line.rstrip("\n").split("\t")
            if field in fields:
                fields[field][int(codepoint[2:], 16)] = value
    if version is None:
        sys.exit(f"{path}: no '# Unicode version:' line")
    return fields, version


def read_charmap(name):
    """The charmap's two-byte codes (lead byte A1-FE) as {code: code point}."""
    path = f"{CHARMAPS}/{name}.gz"
    with gzip.open(path, "rb") as packed:
        raw = packed.read()
    codes = {}
    inside = False
    for line in raw.decode("latin-1").splitlines():
        if line.startswith("CHARMAP"):
            inside = True
            continue
        if line.startswith("END CHARMAP"):
            break
        if not inside or not line.startswith("<U"):
            continue
        symbol, encoded = line.split()[:2]
        if ".." in symbol:
            sys.exit(f"{path}: ranges of symbols are not read: {line}")
        units = encoded.split("/x")[1:]
        if len(units) != 2 or int(units[0], 16) < 0xA1:
            continue
        code = int(units[0], 16) << 8 | int(units[1], 16)
        codes.setdefault(code, int(symbol[2:-1], 16))
    return codes, hashlib.sha256(raw).hexdigest()[:16]


def unique(codepoints):
    seen = set()
    return [c for c in codepoints if not (c in seen or seen.add(c))]


def by_value(mapping, keep, key):
    chosen = [(key(value), codepoint) for codepoint, value in mapping.items() if keep(value)]
    return unique(codepoint for _, codepoint in sorted(chosen))


def code_range(codes, first, last):
    return unique(codes[code] for code in sorted(codes) if first <= code <= last)


def build_sets():
    unihan, unicode_version = read_unihan(UNIHAN)
    gb2312, gb2312_sum = read_charmap("GB2312")
    eucjp, eucjp_sum = read_charmap("EUC-JP")
    euckr, euckr_sum = read_charmap("EUC-KR")

    tgh = {c: int(v.split(":")[1]) for c, v in unihan["kTGH"].items() if v.startswith("2013:")}
    big5 = {c: int(v, 16) for c, v in unihan["kBigFive"].items()}
    gb0 = {c: int(v) for c, v in unihan["kGB0"].items()}

    def tgh_level(first, last):
        return by_value(tgh, lambda p: first <= p <= last, lambda p: p)

    big5_level1 = by_value(big5, lambda b: 0xA440 <= b <= 0xC67E, lambda b: b)
    big5_level2 = by_value(big5, lambda b: 0xC940 <= b <= 0xF9D5, lambda b: b)
    punctuation = (list(range(0x3000, 0x3004)) + list(range(0x3008, 0x3012)) + list(range(0xFF01, 0xFF5F))
                   + [0x00B7, 0x2014, 0x2018, 0x2019, 0x201C, 0x201D, 0x2026])

    # id, English name, Chinese name, characters in the set's own order
    sets = [
        ("tgh1", "General Standard Chinese Characters, level 1", "通用规范汉字表 一级字", tgh_level(1, 3500)),
        ("tgh2", "General Standard Chinese Characters, level 2", "通用规范汉字表 二级字", tgh_level(3501, 6500)),
        ("tgh3", "General Standard Chinese Characters, level 3", "通用规范汉字表 三级字", tgh_level(6501, 8105)),
        ("gb2312", "GB 2312 (hanzi and symbols)", "GB 2312（汉字及符号）",
         [gb2312[code] for code in sorted(gb2312)]),
        ("gb2312-1", "GB 2312 level 1 hanzi", "GB 2312 一级汉字",
         by_value(gb0, lambda v: 16 <= v // 100 <= 55, lambda v: v)),
        ("big5-1", "Big5 frequently used hanzi", "Big5 常用字", big5_level1),
        ("big5", "Big5 hanzi, levels 1 and 2", "Big5 全部汉字", unique(big5_level1 + big5_level2)),
        # The 2010 list and the everyday forms Unihan lists beside official ones.
        ("joyo", "Jōyō kanji", "日本常用汉字", sorted(unihan["kJoyoKanji"])),
        ("jis0208", "JIS X 0208 (kanji and symbols)", "JIS X 0208（汉字及符号）",
         [eucjp[code] for code in sorted(eucjp)]),
        ("ksx1001-hangul", "KS X 1001 Hangul syllables", "KS X 1001 韩文音节", code_range(euckr, 0xB0A1, 0xC8FE)),
        ("ascii", "ASCII printable", "ASCII 可打印字符", list(range(0x20, 0x7F))),
        ("cjk-punct", "Chinese punctuation", "中文标点", punctuation),
    ]
    sources = [
        f"unicode-data: {UNIHAN} (Unicode {unicode_version}): kTGH, kGB0, kBigFive, kJoyoKanji",
        f"locales: {CHARMAPS}/GB2312.gz (sha256 {gb2312_sum}...)",
        f"locales: {CHARMAPS}/EUC-JP.gz (sha256 {eucjp_sum}...)",
        f"locales: {CHARMAPS}/EUC-KR.gz (sha256 {euckr_sum}...)",
    ]
    # The three levels are stretches of one list.
    return sets, [tgh_level(1, 8105)], sources


def encode(codepoints):
    """Each code point as the zigzag difference from the one before it,
    written in base 32, lowest digit first."""
    text = []
    previous = 0
    for codepoint in codepoints:
        delta = codepoint - previous
        value = delta * 2 if delta >= 0 else -delta * 2 - 1
        while value >= 32:
            text.append(DIGITS[32 + (value & 31)])
            value >>= 5
        text.append(DIGITS[value])
        previous = codepoint
    return "".join(text)


def find_slice(stream, part):
    for start in range(len(stream) - len(part) + 1):
        if stream[start] == part[0] and stream[start:start + len(part)] == part:
            return start
    return -1


def write(sets, shared, sources, out):
    # A set that is a stretch of one already stored is kept as that stretch;
    # the longest go first so that the shorter find them.
    streams = list(shared)
    placed = {}
    for position in sorted(range(len(sets)), key=lambda p: (-len(sets[p][3]), p)):
        codepoints = sets[position][3]
        for index, stream in enumerate(streams):
            start = find_slice(stream, codepoints)
            if start >= 0:
                placed[position] = (index, start)
                break
        else:
            streams.append(codepoints)
            placed[position] = (len(streams) - 1, 0)

    # Formatting would break the generator's byte-for-byte output.
    out.write("// clang-format off\n")
    out.write("// Generated by charset/generate_charsets.py; do not edit. Sources:\n")
    for source in sources:
        out.write(f"//   {source}\n")
    out.write('#include "charset/StandardCharsetData.h"\n\n')
    out.write("namespace {\n\n")
    for index, stream in enumerate(streams):
        encoded = encode(stream)
        out.write(f"const char stream{index}[] =\n")
        lines = [encoded[i:i + LINE_WIDTH] for i in range(0, len(encoded), LINE_WIDTH)]
        out.write("\n".join(f'    "{line}"' for line in lines))
        out.write(";\n\n")
    out.write("} // namespace\n\n")
    out.write("const StandardCharsetStream standardCharsetStreams[standardCharsetStreamCount] = {\n")
    for index, stream in enumerate(streams):
        out.write(f"    {{stream{index}, {len(stream)}}},\n")
    out.write("};\n\n")
    out.write("const StandardCharsetEntry standardCharsetEntries[standardCharsetCount] = {\n")
    for position, (identifier, english, chinese, codepoints) in enumerate(sets):
        index, start = placed[position]
        out.write(f'    {{"{identifier}", "{english}", "{chinese}", {index}, {start}, {len(codepoints)}}},\n')
    out.write("};\n")
    return len(streams)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", required=True, help="the .cpp file to write")
    arguments = parser.parse_args()
    sets, shared, sources = build_sets()
    with open(arguments.output, "w", encoding="utf-8", newline="\n") as out:
        stream_count = write(sets, shared, sources, out)
    if stream_count != STREAM_COUNT or len(sets) != SET_COUNT:
        sys.exit(f"StandardCharsetData.h expects {STREAM_COUNT} streams and {SET_COUNT} sets; "
                 f"now there are {stream_count} and {len(sets)}")


# What charset/StandardCharsetData.h declares.
STREAM_COUNT = 8
SET_COUNT = 12

if __name__ == "__main__":
    main()
