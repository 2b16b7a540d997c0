#pragma once

#include <QString>

// The language is decided once, at start-up, by the front end's language
// switch; every visible text is then chosen here. Chinese unless told.
void setUiEnglish(bool english);
bool uiEnglish();

inline QString uiText(const char *english, const char *chinese)
{
    return QString::fromUtf8(uiEnglish() ? english : chinese);
}
