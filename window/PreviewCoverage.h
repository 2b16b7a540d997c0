#pragma once

#include "font/FontFace.h"

#include <QFont>
#include <QRawFont>
#include <QString>

// Which characters of a preview text a font can draw.
struct PreviewCoverage
{
    enum class Status {
        NoFont,         // no path, or nothing at it
        NoText,         // the text is empty or white space only
        Unreadable,     // something is at the path, but it is no readable font
        NothingShown,   // not one character can be drawn
        OnlySpaceShown, // only the white space can be shown
        AllSupported,   // every character is supported
        SomeSupported,
    };
    Status status = Status::NoFont;
    // The drawable part of the text (white space included) and the font to
    // show it in; empty and the base font whenever nothing is shown.
    QString shownText;
    QFont font;
    // Characters the font supports, white space left out, and all characters
    // of the text. A valid surrogate pair is one character, a lone surrogate
    // or a null one of its own.
    int supported = 0;
    int total = 0;
    // The chosen face itself, to draw `shownText` with: `font` names a
    // family, and an installed family of that name may be another face or
    // another file. Invalid when only `font` can show the text.
    QRawFont rawFont;
};

// Tests every character of `text` against `face`. The font to show the
// result in is `baseFont` with the face's family at 32 points. A face 0 that
// Qt cannot open directly is registered with the application font database,
// only for the length of the call.
PreviewCoverage checkPreviewCoverage(const FontFace &face, const QString &text, const QFont &baseFont);

// The status line the window shows for `coverage`, in the chosen language.
QString previewStatusText(const PreviewCoverage &coverage);
