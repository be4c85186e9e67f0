#pragma once
// Windows-1252 bytes <-> QString, at the boundary between the core and Qt.

#include <QString>
#include <string>
#include <string_view>

namespace platform::ui {

QString FromCp1252(std::string_view bytes);
// Characters that Windows-1252 cannot hold become '?'.
std::string ToCp1252(const QString& text);

}  // namespace platform::ui
