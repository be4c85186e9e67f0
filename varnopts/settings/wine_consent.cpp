#include "varnopts/settings/wine_consent.h"

#include "platform/codepage.h"
#include "platform/message.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {

std::string AnotherWineQuestion(const platform::WinePrefix& prefix) {
    const platform::WineBuild& wine = prefix.wine;
    // The description names the Wine in use first, then why the launcher's was not taken.
    const std::string instead = wine.description.substr(0, wine.description.find("; "));
    return "The Wine prefix\n\n" + prefix.folder.string() + "\n\nbelongs to a game launcher, but " +
           wine.launcherBuildUnusable + ".\n\nThe Wine that would run on it instead: " + instead +
           ". A Wine other than the launcher's may update the prefix to its own version, after "
           "which the launcher's build may no longer run it.\n\nRun this Wine on the prefix? No "
           "runs nothing and changes nothing.";
}

bool WineConsent::MayRunWine(const platform::WinePrefix& prefix) {
    if (prefix.wine.launcherBuildUnusable.empty()) {
        return true;
    }
    if (!answer_) {
        answer_ = platform::ShowMessage(platform::Utf8ToCp1252(AnotherWineQuestion(prefix)),
                                        std::string(kCaptionOptions),
                                        platform::MB_YESNO | platform::MB_ICONEXCLAMATION) ==
                  platform::IDYES;
    }
    return *answer_;
}

}  // namespace varnopts
