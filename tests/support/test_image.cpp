#include "support/test_image.h"

#include <cstdio>

std::string argb_text(std::uint32_t argb)
{
    char text[16];
    std::snprintf(text, sizeof(text), "#%08X", static_cast<unsigned>(argb));
    return text;
}
