#pragma once

#include <QString>

// Every visible text exists as an English and a Chinese literal; the flag is
// fixed for the whole run and only the value 1 means English.
inline QString uiText(int useEnglish, const char *english, const char *chinese)
{
    return QString::fromUtf8(useEnglish == 1 ? english : chinese);
}
