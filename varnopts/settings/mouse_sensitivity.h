#pragma once
// The game's mouse sensitivity (radians per pixel, as decimal text) and the
// slider position that shows it (the value in millionths).

#include <string>
#include <string_view>

namespace varnopts {

inline constexpr int kMinSensitivityPosition = 100;
inline constexpr int kMaxSensitivityPosition = 25000;
inline constexpr int kDefaultSensitivityPosition = 8727;  // 0.008727

inline constexpr std::string_view kMouseRadiansPerPixel = "MouseRadiansPerPixel";

// The longest decimal prefix of text, as the C library's atof reads it in the
// "C" locale (leading white space skipped, 0.0 when there is no number),
// whatever the process's LC_NUMERIC is.
double ParseDecimalPrefix(std::string_view text);

// text read as a number, times 1000000.0, truncated toward zero, then kept
// within 100..25000 (a product beyond the 32-bit range, or not a number,
// goes to the nearest end).
int SensitivityToPosition(std::string_view text);

// position * 0.000001 in fixed notation with six decimals, with "." as the
// decimal point whatever the locale: 8727 -> "0.008727".
std::string PositionToSensitivity(int position);

}  // namespace varnopts
