#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which OpenType layout a subset keeps. All features is what a full shaper
// wants; a small rasterizer reads none of it.
enum class LayoutChoice { AllFeatures, CommonFeatures, NoLayout };
// Which name records a subset keeps: hb-subset's identification set (IDs 0-6),
// that plus the licence (IDs 13 and 14), or every record.
enum class NameChoice { Identification, WithLicence, AllNames };

// One variation axis fixed at a value.
struct AxisPin
{
    QString tag;
    double value = 0;

    bool operator==(const AxisPin &other) const { return tag == other.tag && value == other.value; }
};

// The switches beyond the characters. The defaults give exactly the run the
// tool always made.
struct SubsetOptions
{
    LayoutChoice layout = LayoutChoice::AllFeatures;
    bool dropHinting = false;
    NameChoice names = NameChoice::Identification;
    QList<AxisPin> pins; // empty: the face stays variable

    bool operator==(const SubsetOptions &other) const
    {
        return layout == other.layout && dropHinting == other.dropHinting && names == other.names &&
               pins == other.pins;
    }
    bool operator!=(const SubsetOptions &other) const { return !(*this == other); }
};

// The tables hb-subset is told to drop for NoLayout, on top of its own list.
QStringList layoutTableTags();

// The command line's words for each choice, in the order of the enums.
QStringList layoutChoiceWords();
QStringList nameChoiceWords();

// "wght=400,wdth=100": axis tags with the value each is pinned at. False,
// with the reason in `error`, when an item is not tag=number or names an
// axis twice.
bool parseAxisPins(const QString &list, QList<AxisPin> *pins, QString *error);

// Why the pins cannot be applied to the face; empty when they can (and when
// there are none). hb-subset 6.0 pins glyf outlines only, and only every axis
// at once: pinning some would leave the font silently variable, pinning CFF2
// would write a font that no longer loads.
QString axisPinProblem(const FontFace &face, const QList<AxisPin> &pins);
