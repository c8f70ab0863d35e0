#include "driver/demo_clock.h"

#include <cctype>
#include <limits>

namespace {

// Digits only, into a value below 10^15.
bool parse_digits(const std::string& text, std::int64_t* value)
{
    if (text.empty() || text.size() > 15) return false;
    std::int64_t v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

std::int64_t gcd(std::int64_t a, std::int64_t b)
{
    while (b != 0) {
        const std::int64_t t = a % b;
        a = b;
        b = t;
    }
    return a;
}

}  // namespace

bool fixed_step_parse(const std::string& text, FixedStep* step)
{
    std::int64_t p = 0;
    std::int64_t q = 1;
    const std::size_t slash = text.find('/');
    const std::size_t point = text.find('.');
    if (slash != std::string::npos) {
        if (!parse_digits(text.substr(0, slash), &p) || !parse_digits(text.substr(slash + 1), &q)) return false;
    } else if (point != std::string::npos) {
        const std::string whole = text.substr(0, point);
        const std::string fraction = text.substr(point + 1);
        if (fraction.empty() || fraction.size() > 9) return false;
        std::int64_t w = 0, f = 0;
        if (!(whole.empty() || parse_digits(whole, &w)) || !parse_digits(fraction, &f)) return false;
        for (std::size_t i = 0; i < fraction.size(); ++i) q *= 10;
        if (w > 1000) return false;
        p = w * q + f;
    } else if (!parse_digits(text, &p)) {
        return false;
    }
    if (p <= 0 || q <= 0 || p > 60 * q) return false;
    const std::int64_t g = gcd(p, q);
    step->p = p / g;
    step->q = q / g;
    return true;
}

bool DemoClock::performance_frequency(std::int64_t* frequency)
{
    *frequency = step_.q;
    return true;
}

std::int64_t DemoClock::performance_counter()
{
    if (!real_) return count_;
    const auto elapsed = std::chrono::steady_clock::now() - real_since_;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    return count_ + static_cast<std::int64_t>(seconds * static_cast<double>(step_.q));
}

std::uint32_t DemoClock::milliseconds()
{
    // Not read: the counter always exists. Kept consistent all the same.
    return static_cast<std::uint32_t>(performance_counter() * 1000 / step_.q);
}

void DemoClock::frame_presented()
{
    if (!real_ && count_ <= std::numeric_limits<std::int64_t>::max() - step_.p) count_ += step_.p;
}

void DemoClock::go_real()
{
    if (real_) return;
    real_ = true;
    real_since_ = std::chrono::steady_clock::now();
}
