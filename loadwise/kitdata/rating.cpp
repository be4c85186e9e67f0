#include "loadwise/kitdata/rating.h"

#include <array>

#include "loadwise/kitdata/cell_number.h"

namespace kitdata {
namespace {

struct RatingStep {
    const char* word;
    double accuracyBelow;
    double recoilBelow;
    double reticleBelow;
};

constexpr std::array<RatingStep, 8> kRatingSteps = {{
    {"1-Amazing", 0.11, 1.31, 0.81},
    {"2-Outstanding", 0.51, 1.51, 1.01},
    {"3-Excellent", 0.71, 1.71, 1.31},
    {"4-Impressive", 1.21, 2.01, 1.61},
    {"5-Good", 1.51, 2.21, 2.01},
    {"6-Fair", 2.01, 2.31, 2.51},
    {"7-Poor", 2.51, 2.51, 3.01},
    {"8-Bad", 10.0, 10.0, 10.0},
}};

double Bound(const RatingStep& step, RatedFigure figure) {
    switch (figure) {
        case RatedFigure::Accuracy:
            return step.accuracyBelow;
        case RatedFigure::Recoil:
            return step.recoilBelow;
        case RatedFigure::Reticle:
            return step.reticleBelow;
    }
    return 0.0;
}

}  // namespace

std::string RateFigure(RatedFigure figure, std::string_view text) {
    const double value = CellNumber(text);
    for (const RatingStep& step : kRatingSteps) {
        if (value < Bound(step, figure)) {
            return step.word;
        }
    }
    return std::string(text);
}

std::string RateRecoil(std::string_view recoilText, std::string_view rofText) {
    if (rofText == "1") {
        return "None";
    }
    return RateFigure(RatedFigure::Recoil, recoilText);
}

std::vector<std::string_view> RatingWords() {
    std::vector<std::string_view> words;
    for (const RatingStep& step : kRatingSteps) {
        words.emplace_back(step.word);
    }
    return words;
}

}  // namespace kitdata
