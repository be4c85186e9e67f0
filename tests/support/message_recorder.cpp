#include "support/message_recorder.h"

namespace testsupport {

MessageRecorder::MessageRecorder() {
    previous_ = platform::SetMessageOperation(
        [this](const std::string& text, const std::string& caption, unsigned style) {
            const std::size_t mark = text.find(platform::kDetailsMark);
            messages_.push_back({text.substr(0, mark), caption, style,
                                 mark == std::string::npos ? "" : text.substr(mark + 1)});
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
