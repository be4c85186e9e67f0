#include "platform/message.h"

#include <iostream>
#include <utility>

namespace platform {
namespace {

MessageOperation& InstalledOperation() {
    static MessageOperation operation;
    return operation;
}

std::string& CurrentDetail() {
    static std::string detail;
    return detail;
}

}  // namespace

int ShowMessage(const std::string& text, const std::string& caption, unsigned style,
                const std::string& detail) {
    std::string previous = std::exchange(CurrentDetail(), detail);
    int answer = IDOK;
    if (InstalledOperation()) {
        answer = ShowMessage(text, caption, style);
    } else {
        answer = ShowMessage(text + "\n" + detail, caption, style);
    }
    CurrentDetail() = std::move(previous);
    return answer;
}

const std::string& MessageDetail() {
    return CurrentDetail();
}

int ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
    if (const MessageOperation& operation = InstalledOperation()) {
        return operation(text, caption, style);
    }
    std::cerr << caption << ": " << text << '\n';
    return (style & 0xF) == MB_YESNO ? IDNO : IDOK;
}

MessageOperation SetMessageOperation(MessageOperation operation) {
    return std::exchange(InstalledOperation(), std::move(operation));
}

}  // namespace platform
