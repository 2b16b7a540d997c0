#include "common/UiText.h"

#include <atomic>

namespace {
// Written once before any worker starts, read from any thread.
std::atomic<bool> english{false};
} // namespace

void setUiEnglish(bool value)
{
    english = value;
}

bool uiEnglish()
{
    return english;
}
