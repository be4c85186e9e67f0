#include "platform/pe_header.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace platform {
namespace {

constexpr std::uint16_t kMachineI386 = 0x014c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xaa64;
constexpr std::streamoff kNewHeaderOffsetField = 0x3c;

std::optional<std::string> ReadAt(std::ifstream& in, std::streamoff offset, std::size_t length) {
    std::string bytes(length, '\0');
    in.seekg(offset);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(length))) {
        return std::nullopt;
    }
    return bytes;
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
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    const auto dosMagic = ReadAt(in, 0, 2);
    const auto newHeader = ReadAt(in, kNewHeaderOffsetField, 4);
    if (!dosMagic || *dosMagic != "MZ" || !newHeader) {
        return std::nullopt;
    }
    const auto peHeader = ReadAt(in, LittleEndian(*newHeader), 6);
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
