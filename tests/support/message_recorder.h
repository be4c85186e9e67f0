#pragma once
// Installs itself as the message operation for its lifetime: records every
// message and answers with the queued buttons, else IDOK (IDNO to a question).

#include <deque>
#include <string>
#include <vector>

#include "platform/message.h"

namespace testsupport {

struct RecordedMessage {
    std::string text;  // without the details
    std::string caption;
    unsigned style;
    std::string details;
};

class MessageRecorder {
  public:
    MessageRecorder()
        : previous_(platform::SetMessageOperation([this](auto&&... m) { return Record(m...); })) {}
    ~MessageRecorder() { platform::SetMessageOperation(std::move(previous_)); }
    MessageRecorder(MessageRecorder&&) = delete;

    void QueueAnswer(int button) { answers_.push_back(button); }
    const std::vector<RecordedMessage>& messages() const { return messages_; }
    std::vector<std::string> texts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& message : messages_) {
            texts.push_back(message.text);
        }
        return texts;
    }

  private:
    int Record(const std::string& text, const std::string& caption, unsigned style) {
        const std::size_t mark = text.find(platform::kDetailsMark);
        messages_.push_back({text.substr(0, mark), caption, style,
                             mark == std::string::npos ? "" : text.substr(mark + 1)});
        int answer = (style & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        return answer;
    }

    std::vector<RecordedMessage> messages_;
    std::deque<int> answers_;
    platform::MessageOperation previous_;
};

}  // namespace testsupport
