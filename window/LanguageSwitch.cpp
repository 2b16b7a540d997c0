#include "window/LanguageSwitch.h"

int useEnglishFromArguments(const QStringList &arguments)
{
    static const QStringList english = {QStringLiteral("--lang=en"), QStringLiteral("-lang=en"),
                                        QStringLiteral("-en"), QStringLiteral("en")};
    static const QStringList chinese = {QStringLiteral("--lang=zh"), QStringLiteral("-lang=zh"),
                                        QStringLiteral("-zh"), QStringLiteral("zh")};
    int useEnglish = 0;
    // No early exit: when several switches are given, the last one wins.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i).toLower();
        if (english.contains(argument))
            useEnglish = 1;
        else if (chinese.contains(argument))
            useEnglish = 0;
    }
    return useEnglish;
}

int useEnglishFromArgv(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(argv[i] ? QString::fromLocal8Bit(argv[i]) : QString());
    return useEnglishFromArguments(arguments);
}
