#pragma once
// Asking before another Wine runs on a launcher's prefix. When the build the
// prefix's launcher runs it with cannot be used here, the programs would run
// another Wine on it, which may update the prefix so that the launcher's
// build no longer runs it: the first action that would run Wine asks first.

#include <optional>
#include <string>

#include "platform/wine_prefix.h"

namespace varnopts {

// The question: which build the launcher uses and why it cannot be used
// here, which Wine would run instead, and what that may do to the prefix.
std::string AnotherWineQuestion(const platform::WinePrefix& prefix);

class WineConsent {
  public:
    // True when Wine may run on the prefix: its launcher's build is the one
    // in use (or there is no launcher), or the user said Yes to the question.
    // Asked at the first call only; the answer, Yes or No, holds for every
    // later one.
    bool MayRunWine(const platform::WinePrefix& prefix);

  private:
    std::optional<bool> answer_;
};

}  // namespace varnopts
