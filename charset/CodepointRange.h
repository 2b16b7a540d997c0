#pragma once

#include <QtGlobal>

// An inclusive range of code points, as hb-subset's --unicodes writes them.
struct CodepointRange
{
    uint first;
    uint last;
};
