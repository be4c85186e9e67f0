#pragma once
// Loadwise's string table: texts by entry number.

#include <string>

namespace loadwise {

// The entry's text (Windows-1252), or an empty text for an entry the table
// does not hold.
std::string LoadResourceString(int id);

}  // namespace loadwise
