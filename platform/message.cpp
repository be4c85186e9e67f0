#include "platform/message.h"

#include <algorithm>
#include <iostream>
#include <utility>

namespace platform {
namespace {

MessageOperation& InstalledOperation() {
    static MessageOperation operation;
    return operation;
}

FolderOperation& InstalledFolderOperation() {
    static FolderOperation operation;
    return operation;
}

}  // namespace

std::string WithDetails(std::string text, const std::string& details) {
    if (!details.empty()) {
        text += kDetailsMark;
        text += details;
    }
    return text;
}

int ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
    if (const MessageOperation& operation = InstalledOperation()) {
        return operation(text, caption, style);
    }
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), kDetailsMark, '\n');
    std::cerr << caption << ": " << shown << '\n';
    return (style & 0xF) == MB_YESNO ? IDNO : IDOK;
}

MessageOperation SetMessageOperation(MessageOperation operation) {
    return std::exchange(InstalledOperation(), std::move(operation));
}

std::string AskForFolder(const std::string& title) {
    const FolderOperation& operation = InstalledFolderOperation();
    return operation ? operation(title) : std::string();
}

FolderOperation SetFolderOperation(FolderOperation operation) {
    return std::exchange(InstalledFolderOperation(), std::move(operation));
}

}  // namespace platform
