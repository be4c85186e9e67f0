#include "support/message_recorder.h"

namespace testsupport {

MessageRecorder::MessageRecorder() {
    previous_ = platform::SetMessageOperation(
        [this](const std::string& text, const std::string& caption, unsigned style) {
            messages_.push_back({text, caption, style});
            if (!answers_.empty()) {
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            return (style & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
        });
}

MessageRecorder::~MessageRecorder() {
    platform::SetMessageOperation(std::move(previous_));
}

std::vector<std::string> MessageRecorder::texts() const {
    std::vector<std::string> result;
    for (const auto& message : messages_) {
        result.push_back(message.text);
    }
    return result;
}

}  // namespace testsupport
