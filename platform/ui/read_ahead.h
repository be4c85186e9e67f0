#pragma once
// What the first window needs, read on threads of their own while the program
// connects to the display: the font configuration (fontconfig parses its XML
// files the first time any text is laid out, the largest single cost of
// opening a window) and the registry of the prefix the program most likely
// works on. Both are ready, or nearly, when the window asks for them.

#include <string>

namespace platform::ui {

// Called once in main(), before the application object. prefixArgument is
// the value of --prefix ("" without it).
void StartReadAhead(const std::string& prefixArgument);

// Called before text is first laid out: waits for the font configuration
// when it is still being read, so that it is not read a second time beside
// it. Costs nothing once it is read, or when it never was started. (A key
// opened early waits for the registry's read in the registry itself.)
void AwaitFontConfiguration();

}  // namespace platform::ui
