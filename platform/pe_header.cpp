#include "platform/pe_header.h"

#include <cstdint>
#include <string>

#include "platform/file_read.h"

namespace platform {
namespace {

constexpr std::uint16_t kMachineI386 = 0x014c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xaa64;
constexpr std::size_t kDosHeaderLength = 0x40;
constexpr std::size_t kNewHeaderOffsetField = 0x3c;

std::optional<std::string> ReadAt(const std::filesystem::path& file, std::uint64_t offset,
                                  std::size_t length) {
    Result<std::string> bytes = ReadFilePart(file, offset, length);
    if (!bytes || bytes->size() != length) {
        return std::nullopt;
    }
    return std::move(*bytes);
}

std::uint32_t LittleEndian(const std::string& bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

}  // namespace

std::optional<ProgramBits> ReadProgramBits(const std::filesystem::path& file) {
    // The DOS header: "MZ", and at 0x3c where the PE header lies.
    const auto dosHeader = ReadAt(file, 0, kDosHeaderLength);
    if (!dosHeader || !dosHeader->starts_with("MZ")) {
        return std::nullopt;
    }
    const auto peHeader =
        ReadAt(file, LittleEndian(dosHeader->substr(kNewHeaderOffsetField, 4)), 6);
    if (!peHeader || peHeader->compare(0, 4, std::string("PE\0\0", 4)) != 0) {
        return std::nullopt;
    }
    switch (LittleEndian(peHeader->substr(4))) {
        case kMachineI386:
            return ProgramBits::Bits32;
        case kMachineAmd64:
        case kMachineArm64:
            return ProgramBits::Bits64;
        default:
            return std::nullopt;
    }
}

}  // namespace platform
