#pragma once
// The program's string table: interface texts by entry number.

#include <string>

namespace varnopts::res {

// The entry's text (Windows-1252), or an empty text for an entry the table
// does not hold.
std::string LoadResourceString(int id);

}  // namespace varnopts::res
