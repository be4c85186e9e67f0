#pragma once
// Whether a Windows program is a 32-bit or a 64-bit one, from its PE header.
// Wine's exit status does not tell whether a 32-bit program ran: a Wine
// without its 32-bit part says why and exits 0.

#include <filesystem>
#include <optional>

namespace platform {

enum class ProgramBits { Bits32, Bits64 };

// The program's word size from its PE header (the machine field: i386 is
// 32-bit; x86-64 and ARM64 are 64-bit). Nothing when the file cannot be
// read or is no PE program.
std::optional<ProgramBits> ReadProgramBits(const std::filesystem::path& file);

}  // namespace platform
