#include "varnopts/settings/mouse_sensitivity.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace varnopts {

namespace {

// The "C" locale, made once: the registry holds the number with "." whatever
// locale the program runs in (a Qt program sets the user's).
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Truncates toward zero as a conversion to a 32-bit integer does; beyond the
// range, and for a value that is no number, the nearest end (no number counts
// as the low end).
long long TruncateToInt32(double value) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value) || value <= kLow) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= kHigh) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<long long>(std::trunc(value));
}

}  // namespace

double ParseDecimalPrefix(std::string_view text) {
    // strtod needs a terminated string; a zero inside the text ends it, as it
    // would for the C library.
    const std::string terminated(text.substr(0, text.find('\0')));
    const locale_t locale = CLocale();
    if (locale == static_cast<locale_t>(nullptr)) {
        return std::strtod(terminated.c_str(), nullptr);
    }
    return strtod_l(terminated.c_str(), nullptr, locale);
}

int SensitivityToPosition(std::string_view text) {
    const long long position = TruncateToInt32(ParseDecimalPrefix(text) * 1000000.0);
    if (position < kMinSensitivityPosition) {
        return kMinSensitivityPosition;
    }
    if (position > kMaxSensitivityPosition) {
        return kMaxSensitivityPosition;
    }
    return static_cast<int>(position);
}

std::string PositionToSensitivity(int position) {
    const double value = position * 0.000001;
    // Fixed notation with six decimals is what "%f" gives, in the "C" locale.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

}  // namespace varnopts
