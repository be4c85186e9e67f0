#pragma once
// The one way the programs tell the user something: a modal message box
// (text, caption, style) that returns the button pressed. The windows install
// a Qt message box; tests install a recorder that reads and answers.

#include <functional>
#include <string>

namespace platform {

// Styles and buttons keep the Windows numbers, so logic can be written and
// tested in the terms the game's tools used.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Text and caption are Windows-1252 bytes.
using MessageOperation =
    std::function<int(const std::string& text, const std::string& caption, unsigned style)>;

// Shows a message through the installed operation. Without one, the message
// goes to standard error and the answer is IDOK (IDNO for a Yes/No question).
int ShowMessage(const std::string& text, const std::string& caption, unsigned style);

// The same with further detail shown beneath the text (where the programs
// looked, what the user can do), in UTF-8 as it names Unix paths. The
// operation finds it in MessageDetail().
int ShowMessage(const std::string& text, const std::string& caption, unsigned style,
                const std::string& detail);

// The detail of the message being shown; empty for a message without one.
const std::string& MessageDetail();

// Installs an operation and returns the one it replaces.
MessageOperation SetMessageOperation(MessageOperation operation);

}  // namespace platform
