#pragma once
// The pause after the install action has started its packages. The packages
// work on the game's files meanwhile; the window keeps painting and shows how
// far the pause has come, but takes no input until it ends.

#include <chrono>

class QWidget;

namespace varnopts::window {

void RunInstallPause(QWidget* window, std::chrono::milliseconds duration);

}  // namespace varnopts::window
