#include "capture/frame_rate.h"

#include <charconv>

namespace {

bool parse_part(const std::string& text, std::size_t begin, std::size_t end, std::int64_t* value)
{
    if (begin >= end) return false;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    const auto [ptr, ec] = std::from_chars(first, last, *value);
    return ec == std::errc() && ptr == last && *value >= 1 && *value <= kFrameRateLimit;
}

}  // namespace

bool FrameRate::valid() const { return num >= 1 && num <= kFrameRateLimit && den >= 1 && den <= kFrameRateLimit; }

std::string FrameRate::text() const
{
    if (den == 1) return std::to_string(num);
    return std::to_string(num) + "/" + std::to_string(den);
}

bool frame_rate_parse(const std::string& text, FrameRate* rate, std::string* error)
{
    const std::size_t slash = text.find('/');
    FrameRate parsed;
    bool ok = false;
    if (slash == std::string::npos) {
        parsed.den = 1;
        ok = parse_part(text, 0, text.size(), &parsed.num);
    } else {
        ok = parse_part(text, 0, slash, &parsed.num) && parse_part(text, slash + 1, text.size(), &parsed.den);
    }
    if (!ok) {
        if (error != nullptr)
            *error = "bad frame rate \"" + text + "\": expected frames per second as N or N/D (such as 60 or 60000/1001), "
                     "whole numbers from 1 to " + std::to_string(kFrameRateLimit);
        return false;
    }
    *rate = parsed;
    return true;
}
