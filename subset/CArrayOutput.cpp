#include "subset/CArrayOutput.h"

#include <QStringList>

namespace {

bool isAsciiLetter(QChar unit)
{
    return (unit >= QLatin1Char('a') && unit <= QLatin1Char('z')) ||
           (unit >= QLatin1Char('A') && unit <= QLatin1Char('Z'));
}

bool isCKeyword(const QString &word)
{
    static const QStringList keywords = {
        "auto",          "break",        "case",   "char",     "const",    "continue", "default",  "do",
        "double",        "else",         "enum",   "extern",   "float",    "for",      "goto",     "if",
        "inline",        "int",          "long",   "register", "restrict", "return",   "short",    "signed",
        "sizeof",        "static",       "struct", "switch",   "typedef",  "union",    "unsigned", "void",
        "volatile",      "while",        "bool",   "true",     "false",    "alignas",  "alignof",  "nullptr",
        "static_assert", "thread_local", "typeof", "constexpr"};
    return keywords.contains(word);
}

} // namespace

QString cIdentifier(const QString &outputName)
{
    QString identifier;
    identifier.reserve(outputName.size());
    for (const QChar unit : outputName) {
        const bool keep = isAsciiLetter(unit) || (unit >= QLatin1Char('0') && unit <= QLatin1Char('9')) ||
                          unit == QLatin1Char('_');
        identifier.append(keep ? unit : QLatin1Char('_'));
    }
    // A leading "_" would step into names reserved for the compiler.
    if (identifier.isEmpty() || !isAsciiLetter(identifier.front()) || isCKeyword(identifier))
        identifier.prepend(QLatin1String("font_"));
    return identifier;
}

QByteArray cArrayHeader(const QByteArray &font, const QString &identifier, const QString &origin)
{
    const QByteArray name = identifier.toLatin1();
    const QByteArray guard = name.toUpper() + "_H";
    // The origin holds file names, which could end the comment early.
    QByteArray comment = origin.toUtf8();
    comment.replace("*/", "* /");

    QByteArray header;
    header.reserve(font.size() * 6 + 512);
    header += "/* " + comment + " */\n";
    header += "#ifndef " + guard + "\n#define " + guard + "\n\n";
    header += "static const unsigned char " + name + "[] = {\n";
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < font.size(); ++i) {
        const auto byte = uchar(font.at(i));
        header += (i % 16 == 0) ? "    0x" : " 0x";
        header += digits[byte >> 4];
        header += digits[byte & 15];
        if (i + 1 < font.size())
            header += ',';
        if (i % 16 == 15 || i + 1 == font.size())
            header += '\n';
    }
    header += "};\n";
    header += "static const unsigned int " + name + "_len = " + QByteArray::number(font.size()) + ";\n\n";
    header += "#endif /* " + guard + " */\n";
    return header;
}
