#pragma once

// The generated product tree of about 100 MB in 10,000 files (C, JSON, HTML,
// Qt .ts and Vue; UTF-8 text and escapes of 3,500 common hanzi) that the
// collecting benchmarks read.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>

namespace {

constexpr int folderCount = 100;
constexpr int filesPerFolder = 100;
constexpr int fileSize = 10 * 1024;

QByteArray chinese(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(char16_t(0x4E00 + random.bounded(3500)));
    return text.toUtf8();
}

QByteArray fileContent(QRandomGenerator &random, int kind)
{
    QByteArray content;
    while (content.size() < fileSize) {
        const int line = random.bounded(1000);
        switch (kind) {
        case 0:
            content += "    lcd_print(row, col, \"" + chinese(random, 6) + "\"); /* item " +
                       QByteArray::number(line) + " */\n    if (state == STATE_" + QByteArray::number(line) +
                       ") { refresh(); }\n";
            break;
        case 1:
            content += "  \"message_" + QByteArray::number(line) + "\": \"\\u" +
                       QByteArray::number(0x4E00 + random.bounded(3500), 16) + "\\uD83D\\uDE0" +
                       QByteArray::number(random.bounded(10)) + " " + chinese(random, 4) + "\",\n";
            break;
        case 2:
            content += "<li class=\"menu-item\"><a href=\"/page/" + QByteArray::number(line) + "\">&#" +
                       QByteArray::number(0x4E00 + random.bounded(3500)) + ";" + chinese(random, 3) +
                       "</a></li>\n";
            break;
        case 3:
            content += "    <message>\n        <source>Settings " + QByteArray::number(line) +
                       "</source>\n        <translation>" + chinese(random, 5) +
                       "</translation>\n    </message>\n";
            break;
        default:
            content += "  <button @click=\"save(" + QByteArray::number(line) + ")\">{{ $t('" +
                       chinese(random, 4) + "') }}</button>\n";
            break;
        }
    }
    return content;
}

// Writes the tree below `root`; its size in bytes, or -1 when a file cannot be written.
qint64 writeProductTree(const QString &root)
{
    static const char *const suffixes[] = {"c", "json", "html", "ts", "vue"};
    QRandomGenerator random(17);
    qint64 totalBytes = 0;
    for (int folder = 0; folder < folderCount; ++folder) {
        const QString path = QDir(root).filePath(QStringLiteral("module%1/src").arg(folder));
        QDir().mkpath(path);
        for (int i = 0; i < filesPerFolder; ++i) {
            const int kind = (folder + i) % 5;
            QFile file(QStringLiteral("%1/file%2.%3").arg(path).arg(i).arg(QLatin1String(suffixes[kind])));
            const QByteArray content = fileContent(random, kind);
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                return -1;
            totalBytes += content.size();
        }
    }
    return totalBytes;
}

} // namespace
