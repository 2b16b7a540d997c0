#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// hb-subset's --unicodes value, written piece by piece: single code points as
// "U+" and at least four upper-case hexadecimal digits, ranges as
// "U+first-last" (only the first bound carries the "U+"), joined by ","
// without spaces. Neighbours are deliberately not merged into ranges. Tens of
// thousands of code points are written in well under a millisecond.
class UnicodesArgumentWriter
{
public:
    void appendCodepoint(uint codepoint);
    void appendRange(uint first, uint last);
    // Room for `count` more single code points of up to four digits.
    void reserve(qsizetype count) { buffer.reserve(buffer.size() + count * 7); }
    QString text() const { return QString::fromLatin1(buffer); }

private:
    QByteArray buffer;
};

// The value for single code points, given ascending.
QString formatUnicodesArgument(const QList<uint> &codepoints);

// One block as "U+first-last".
QString blockRangeText(uint first, uint last);
