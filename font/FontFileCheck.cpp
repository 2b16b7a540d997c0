#include "font/FontFileCheck.h"

#include "common/RegularFile.h"
#include "common/UiText.h"
#include "font/FontFileState.h"

#include <QFile>
#include <QList>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr qint64 collectionHeaderSize = 12;
constexpr qint64 faceHeaderSize = 12;
constexpr qint64 tableRecordSize = 16;

quint32 bigEndian32(const QByteArray &bytes, qint64 at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

struct TableRecord
{
    QString tag;
    quint64 offset = 0;
    quint64 end = 0;
};

// What HarfBuzz reads as a face: TrueType, CFF-based OpenType and the two
// older Apple tags.
bool isFaceVersion(quint32 version)
{
    return version == 0x00010000 || version == 0x4F54544F /* OTTO */ || version == 0x74727565 /* true */ ||
           version == 0x74797031 /* typ1 */;
}

// A damaged directory holds any bytes where a tag should be; the message
// shows them without letting a control character into it.
QString tagText(const QByteArray &bytes)
{
    QString tag;
    for (char byte : bytes)
        tag.append(byte >= 0x20 && byte < 0x7F ? QLatin1Char(byte) : QLatin1Char('?'));
    return tag.trimmed();
}

QString cutShortMessage()
{
    return uiText("the file is cut short: it ends inside its table directory",
                  "文件不完整：在表目录中途结束");
}

// The first table, in file order, that does not lie within `fileSize`
// bytes, and why. A table that runs past the end with no other one
// starting after it is where a truncated file ends.
QString misplacedTableProblem(QList<TableRecord> tables, quint64 fileSize)
{
    std::sort(tables.begin(), tables.end(),
              [](const TableRecord &a, const TableRecord &b) { return a.offset < b.offset; });
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const TableRecord &table = tables.at(i);
        if (table.end <= fileSize)
            continue;
        if (table.offset >= fileSize)
            return uiText("the %1 table's offset points past the end of the file",
                          "%1 表的偏移指向文件末尾之后")
                .arg(table.tag);
        const bool laterTableInside = i + 1 < tables.size() && tables.at(i + 1).offset < fileSize;
        if (laterTableInside)
            return uiText("the %1 table's length runs past the end of the file", "%1 表的长度超出了文件末尾")
                .arg(table.tag);
        return uiText("the file is cut short: it ends inside the %1 table", "文件不完整：在 %1 表中途结束")
            .arg(table.tag);
    }
    return QString();
}

} // namespace

bool collectionHeaderFits(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < collectionHeaderSize || !head.startsWith("ttcf"))
        return true;
    const quint32 faces = bigEndian32(head, 8);
    if (faces == 0 || faces > mostCollectionFaces)
        return false;
    const qint64 offsetsEnd = collectionHeaderSize + 4 * qint64(faces);
    if (head.size() < offsetsEnd || fileSize < offsetsEnd)
        return false;
    for (quint32 face = 0; face < faces; ++face) {
        if (qint64(bigEndian32(head, collectionHeaderSize + 4 * face)) + faceHeaderSize > fileSize)
            return false;
    }
    return true;
}

FontFileCheck checkFontFile(const QString &path)
{
    switch (fontFileState(path)) {
    case FontFileState::Missing:
        return FontFileCheck::Missing;
    case FontFileState::NotAFile:
        return FontFileCheck::NotAFile;
    case FontFileState::RegularFile:
        break;
    }
    QFile file;
    if (!openRegularFile(path, &file))
        return FontFileCheck::Unreadable;
    QByteArray head = file.read(collectionHeaderSize);
    if (head.startsWith("ttcf") && head.size() == collectionHeaderSize) {
        const quint32 faces = qMin(bigEndian32(head, 8), mostCollectionFaces + 1);
        head += file.read(4 * qint64(faces));
    }
    return collectionHeaderFits(head, file.size()) ? FontFileCheck::Usable : FontFileCheck::Unreadable;
}

QString fontStructureProblem(const QString &path, int faceIndex)
{
    QFile file;
    if (!openRegularFile(path, &file))
        return QString();
    const quint64 fileSize = quint64(file.size());
    QByteArray head = file.read(faceHeaderSize);
    if (head.startsWith("ttcf")) {
        // Only where the header names this face; the rest is checkFontFile's.
        if (head.size() < collectionHeaderSize || faceIndex < 0 ||
            quint32(faceIndex) >= bigEndian32(head, 8) ||
            !file.seek(collectionHeaderSize + 4 * qint64(faceIndex)))
            return QString();
        const QByteArray offset = file.read(4);
        if (offset.size() < 4 || !file.seek(bigEndian32(offset, 0)))
            return QString();
        head = file.read(faceHeaderSize);
    }
    if (head.startsWith("wOFF") || head.startsWith("wOF2"))
        return uiText("a WOFF web font; hb-subset takes TrueType and OpenType fonts only",
                      "这是 WOFF 网页字体；hb-subset 只接受 TrueType 和 OpenType 字体");
    if (head.size() < 4 || !isFaceVersion(bigEndian32(head, 0)))
        return uiText("not a TrueType or OpenType font", "不是 TrueType 或 OpenType 字体");
    if (head.size() < faceHeaderSize)
        return cutShortMessage();
    const int tableCount = qFromBigEndian<quint16>(head.constData() + 4);
    const QByteArray records = file.read(tableRecordSize * tableCount);
    if (records.size() < tableRecordSize * tableCount)
        return cutShortMessage();

    QList<TableRecord> tables;
    for (int i = 0; i < tableCount; ++i) {
        const qint64 at = tableRecordSize * i;
        const quint64 offset = bigEndian32(records, at + 8);
        tables.append({tagText(records.mid(at, 4)), offset, offset + bigEndian32(records, at + 12)});
    }
    const QString misplaced = misplacedTableProblem(tables, fileSize);
    if (!misplaced.isEmpty())
        return misplaced;
    const auto has = [&tables](const char *tag) {
        const QString wanted = QLatin1String(tag).trimmed();
        return std::any_of(tables.cbegin(), tables.cend(),
                           [&wanted](const TableRecord &table) { return table.tag == wanted; });
    };
    for (const char *tag : requiredFontTables) {
        if (!has(tag))
            return uiText("no %1 table", "缺少 %1 表").arg(QLatin1String(tag));
    }
    if (!(has("glyf") && has("loca")) && !has("CFF ") && !has("CFF2"))
        return uiText("no glyph outlines", "缺少字形轮廓");
    return QString();
}
