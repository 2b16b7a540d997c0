"""Writes two small variable fonts with a wght and a wdth axis into FOLDER:
variable.ttf (glyf outlines) and variable.otf (the same in CFF2).

Usage: make_variable_font.py FOLDER

Three masters of a few boxy glyphs: the default (wght 100, wdth 100), a bold
(wght 900) and a wide (wdth 150) one, so that every axis moves outlines and
advances and any location other than the default gives other coordinates.
"""
import os
import sys

from fontTools.designspaceLib import AxisDescriptor, DesignSpaceDocument, SourceDescriptor
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools import varLib

CHARACTERS = "ABCabc"


def box(stem, width, cff):
    pen = T2CharStringPen(width + 100, None) if cff else TTGlyphPen(None)
    pen.moveTo((50, 0))
    pen.lineTo((50, 700))
    pen.lineTo((50 + width, 700))
    pen.lineTo((50 + width, 0))
    pen.closePath()
    pen.moveTo((50 + stem, stem))
    pen.lineTo((50 + width - stem, stem))
    pen.lineTo((50 + width - stem, 700 - stem))
    pen.lineTo((50 + stem, 700 - stem))
    pen.closePath()
    return pen.getCharString() if cff else pen.glyph()


def master(stem, widen, cff):
    names = [".notdef"] + ["glyph%s" % c for c in CHARACTERS]
    builder = FontBuilder(1000, isTTF=not cff)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({ord(c): "glyph%s" % c for c in CHARACTERS})
    glyphs = {}
    metrics = {}
    for index, name in enumerate(names):
        width = int((300 + 40 * index) * widen)
        glyphs[name] = box(stem, width, cff)
        metrics[name] = (width + 100, 50)
    if cff:
        builder.setupCFF("VfcTestVariable", {"FullName": "VfcTestVariable"}, glyphs, {})
    else:
        builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics(metrics)
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": "VfcTestVariable", "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=800, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    return builder.font


def main(output, cff):
    document = DesignSpaceDocument()
    for tag, name, minimum, default, maximum in (("wght", "Weight", 100, 100, 900), ("wdth", "Width", 100, 100, 150)):
        axis = AxisDescriptor()
        axis.tag, axis.name = tag, name
        axis.minimum, axis.default, axis.maximum = minimum, default, maximum
        document.addAxis(axis)
    for stem, widen, location in ((40, 1.0, {"Weight": 100, "Width": 100}),
                                  (160, 1.0, {"Weight": 900, "Width": 100}),
                                  (40, 1.5, {"Weight": 100, "Width": 150})):
        source = SourceDescriptor()
        source.font = master(stem, widen, cff)
        source.location = location
        document.addSource(source)
    font, _, _ = varLib.build(document)
    font.save(output)


if __name__ == "__main__":
    main(os.path.join(sys.argv[1], "variable.ttf"), False)
    main(os.path.join(sys.argv[1], "variable.otf"), True)
