#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// The encoding a text file is read in when it is not UTF-8. Chinese,
// Taiwanese, Japanese and Korean firmware sources are often still written in
// their national encodings.
enum class SourceEncoding { Utf8Only, Gb18030, Big5, ShiftJis, EucKr };

// The legacy encodings, in the order they are offered.
QList<SourceEncoding> legacyEncodings();

// The command line's names: "gb18030", "big5", "shift_jis" and "euc-kr",
// letter case aside. False for anything else.
bool sourceEncodingFromName(const QString &name, SourceEncoding *encoding);
QString sourceEncodingName(SourceEncoding encoding);

// "GB18030"; "UTF-8" for none.
QString sourceEncodingTitle(SourceEncoding encoding);
// "GB18030 (Simplified Chinese)" in the language of uiText().
QString sourceEncodingLabel(SourceEncoding encoding);

// The bytes as text in `encoding`, or false when they are not text in it
// (some bytes no character of it). A byte-order mark is not taken for text.
bool decodeLegacyText(QByteArrayView bytes, SourceEncoding encoding, QString *text);
