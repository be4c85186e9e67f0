#pragma once
// Installs itself as the message operation for its lifetime: records every
// message and answers with the queued buttons (IDOK, or IDYES/IDNO as queued).

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
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void QueueAnswer(int button) { answers_.push_back(button); }
    const std::vector<RecordedMessage>& messages() const { return messages_; }
    std::vector<std::string> texts() const;

  private:
    std::vector<RecordedMessage> messages_;
    std::deque<int> answers_;
    platform::MessageOperation previous_;
};

}  // namespace testsupport
