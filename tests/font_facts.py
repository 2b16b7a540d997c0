"""Prints what a font file holds, as JSON, read with fontTools alone.

Usage: font_facts.py FONT [FACE] [SOURCE LOCATION]

tags (tables, GSUB:/GPOS: feature tags, and "hints" for TrueType
instructions or CFF stem hints anywhere), nameIds, names (every record's
platform, language and ID), and, given a variable SOURCE and a
LOCATION such as wght=700,wdth=120, whether every glyph of FONT has the
outline and advance of that instance of SOURCE.
"""
import json
import sys

from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont

CFF_HINTS = {"hstem", "vstem", "hstemhm", "vstemhm", "hintmask", "cntrmask"}


def features(font, tag):
    if tag not in font or not font[tag].table.FeatureList:
        return []
    return sorted({tag + ":" + record.FeatureTag for record in font[tag].table.FeatureList.FeatureRecord})


def hinted(font):
    if any(tag in font for tag in ("fpgm", "prep", "cvt ")):
        return True
    if "glyf" in font:
        glyf = font["glyf"]
        return any(hasattr(glyf[name], "program") and len(glyf[name].program.getBytecode()) > 0
                   for name in font.getGlyphOrder())
    if "CFF " in font:
        top = font["CFF "].cff.topDictIndex[0]
        for name in top.CharStrings.keys():
            charString = top.CharStrings[name]
            charString.decompile()
            if CFF_HINTS & {item for item in charString.program if isinstance(item, str)}:
                return True
    return False


def drawing(font, glyphName):
    pen = RecordingPen()
    font.getGlyphSet()[glyphName].draw(pen)
    return [(operator, [tuple(round(v) for v in point) for point in points]) for operator, points in pen.value]


def same_as_instance(font, sourcePath, location):
    from fontTools.varLib import instancer
    pins = {tag: float(value) for tag, value in (item.split("=") for item in location.split(","))}
    reference = instancer.instantiateVariableFont(TTFont(sourcePath), pins)
    referenceMap = reference.getBestCmap()
    for codepoint, glyphName in font.getBestCmap().items():
        expected = referenceMap[codepoint]
        if drawing(font, glyphName) != drawing(reference, expected):
            return False
        if font["hmtx"][glyphName][0] != reference["hmtx"][expected][0]:
            return False
    return True


def main(arguments):
    font = TTFont(arguments[0], fontNumber=int(arguments[1]) if len(arguments) > 1 else 0)
    facts = {
        "tags": sorted(tag for tag in font.keys() if tag != "GlyphOrder")
        + features(font, "GSUB") + features(font, "GPOS") + (["hints"] if hinted(font) else []),
        "nameIds": [str(nameId) for nameId in sorted({record.nameID for record in font["name"].names})],
        "names": sorted("%d/%d/%d" % (r.platformID, r.langID, r.nameID) for r in font["name"].names),
    }
    if len(arguments) > 3:
        facts["sameAsInstance"] = same_as_instance(font, arguments[2], arguments[3])
    print(json.dumps(facts))


if __name__ == "__main__":
    main(sys.argv[1:])
