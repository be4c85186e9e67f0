#pragma once
// The one way the programs tell the user something: a modal message box
// (text, caption, style) that returns the button pressed. The windows install
// a Qt message box; tests install a recorder that reads and answers.

#include <functional>
#include <string>

namespace platform {

// Styles and buttons keep the Windows message box numbers, so the logic that
// chooses them can be written and tested without a toolkit.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A style bit of our own: the message also offers a button to choose the
// game's prefix folder, which answers kIdChooseFolder. Its details are
// always shown beneath the text.
constexpr unsigned kChooseFolderButton = 0x01000000;
constexpr int kIdChooseFolder = 100;

// Text and caption are Windows-1252 bytes.
using MessageOperation =
    std::function<int(const std::string& text, const std::string& caption, unsigned style)>;

// A text may carry details after this mark, in UTF-8 as they name Unix paths
// and quote what programs printed: where the programs looked and what the
// user can do, or what a failed program printed. The message box shows short
// details beneath the text and long ones when asked to.
constexpr char kDetailsMark = '\f';

// text, then the details after kDetailsMark when there are any.
std::string WithDetails(std::string text, const std::string& details);

// Shows a message through the installed operation. Without one, the message
// goes to standard error and the answer is IDOK (IDNO for a Yes/No question).
int ShowMessage(const std::string& text, const std::string& caption, unsigned style);

// Installs an operation and returns the one it replaces.
MessageOperation SetMessageOperation(MessageOperation operation);

// The one way the programs ask for a folder: a folder dialog with the title,
// returning the folder chosen (UTF-8), "" when none is. Without an installed
// operation none is chosen.
using FolderOperation = std::function<std::string(const std::string& title)>;
std::string AskForFolder(const std::string& title);
FolderOperation SetFolderOperation(FolderOperation operation);

}  // namespace platform
