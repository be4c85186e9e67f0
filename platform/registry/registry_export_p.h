#pragma once
// Reading the file `wine reg export` writes: UTF-16LE with a byte order
// mark, "Windows Registry Editor Version 5.00", then a block per key, the
// exported key's first and its subkeys' after it:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor]             names unescaped
//   "Name"="text"                                    values as in system.reg
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\Product]

#include <optional>
#include <string>

#include "platform/registry/registry_cache_p.h"

namespace platform::registry_detail {

// The keys of the export by their paths below the exported key. Nothing
// when the bytes are no registry export.
std::optional<ExportedTree> ReadRegExport(const std::string& bytes);

}  // namespace platform::registry_detail
