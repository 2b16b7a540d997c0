#include "font/FaceFontData.h"

#include <QList>
#include <QtEndian>

#include <hb.h>

namespace {

struct TableRecord
{
    hb_tag_t tag;
    quint32 offset;
    quint32 length;
};

// The tables of face `index`, where HarfBuzz found them in `bytes`. Tables
// that lie outside the file come back empty and are left out.
QList<TableRecord> tablesOf(const QByteArray &bytes, int index)
{
    QList<TableRecord> tables;
    hb_blob_t *blob =
        hb_blob_create(bytes.constData(), uint(bytes.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    if (index >= 0 && unsigned(index) < hb_face_count(blob)) {
        hb_face_t *face = hb_face_create(blob, unsigned(index));
        hb_tag_t tags[64];
        unsigned int start = 0;
        unsigned int count = 64;
        while (hb_face_get_table_tags(face, start, &count, tags), count > 0) {
            for (unsigned int i = 0; i < count; ++i) {
                hb_blob_t *table = hb_face_reference_table(face, tags[i]);
                unsigned int length = 0;
                const char *data = hb_blob_get_data(table, &length);
                if (length > 0)
                    tables.append({tags[i], quint32(data - bytes.constData()), length});
                hb_blob_destroy(table);
            }
            start += count;
            count = 64;
        }
        hb_face_destroy(face);
    }
    hb_blob_destroy(blob);
    return tables;
}

void putU16(char *at, quint16 value)
{
    qToBigEndian(value, at);
}

void putU32(char *at, quint32 value)
{
    qToBigEndian(value, at);
}

} // namespace

QByteArray faceFontData(const QByteArray &file, int index)
{
    return index == 0 ? file : standaloneFaceData(file, index);
}

QByteArray standaloneFaceData(const QByteArray &file, int index)
{
    // Every table keeps its place, so only the directory is written: over
    // the collection's header and the first directories, which no table
    // shares. A file laid out otherwise is not worth a second road.
    const QList<TableRecord> tables = tablesOf(file, index);
    const quint32 directorySize = quint32(12 + 16 * tables.size());
    bool cff = false;
    for (const TableRecord &table : tables) {
        if (table.offset < directorySize)
            return QByteArray();
        cff = cff || table.tag == HB_TAG('C', 'F', 'F', ' ') || table.tag == HB_TAG('C', 'F', 'F', '2');
    }
    if (tables.isEmpty())
        return QByteArray();

    int entrySelector = 0;
    while ((2 << entrySelector) <= tables.size())
        ++entrySelector;
    const quint16 searchRange = quint16(16 << entrySelector);
    QByteArray bytes = file;
    char *out = bytes.data(); // the one copy
    putU32(out, cff ? HB_TAG('O', 'T', 'T', 'O') : 0x00010000);
    putU16(out + 4, quint16(tables.size()));
    putU16(out + 6, searchRange);
    putU16(out + 8, quint16(entrySelector));
    putU16(out + 10, quint16(16 * tables.size() - searchRange));
    // Checksums stay 0: nothing that reads this copy checks them.
    for (qsizetype i = 0; i < tables.size(); ++i) {
        char *record = out + 12 + 16 * i;
        putU32(record, tables.at(i).tag);
        putU32(record + 4, 0);
        putU32(record + 8, tables.at(i).offset);
        putU32(record + 12, tables.at(i).length);
    }
    return bytes;
}
