#pragma once
// Rating words for the Accuracy, Recoil and Reticle figures of a weapon.

#include <string>
#include <string_view>
#include <vector>

namespace kitdata {

enum class RatedFigure { Accuracy, Recoil, Reticle };

// The word for a figure ("1-Amazing" ... "8-Bad"): the first of the figure's
// bounds that the value is below (bounds exclusive); 10 or more keeps text.
std::string RateFigure(RatedFigure figure, std::string_view text);

// The Recoil cell: "None" when the weapon's RoF text is exactly "1",
// otherwise its rating.
std::string RateRecoil(std::string_view recoilText, std::string_view rofText);

// Every rating word, best first; a rating column must be wide enough for each.
std::vector<std::string_view> RatingWords();

}  // namespace kitdata
