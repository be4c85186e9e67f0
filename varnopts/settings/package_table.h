#pragma once
// The modification's package executables, known only by their file names.

#include <string_view>

namespace varnopts {

inline constexpr std::string_view kPackageFull = "VARN_FULL.EXE";
inline constexpr std::string_view kPackageFullIndex = "VARN_FULL_INDEX.EXE";
inline constexpr std::string_view kPackageNoEagleWatch = "VARN_NO_EW.EXE";
inline constexpr std::string_view kPackageTeamRainbow = "VARN_TN_RAINBOW.EXE";
inline constexpr std::string_view kPackageTeamAssault = "VARN_TN_ASSAULT.EXE";
inline constexpr std::string_view kPackageTeamRecon = "VARN_TN_RECON.EXE";
inline constexpr std::string_view kPackageTeamHeavy = "VARN_TN_HEAVY.EXE";
inline constexpr std::string_view kPackageTeamTango = "VARN_TN_TANGO.EXE";
inline constexpr std::string_view kPackageTeamMulti = "VARN_TN_MULTI.EXE";
inline constexpr std::string_view kPackageServerDefault = "VARN_MP_DEFAULT.EXE";
inline constexpr std::string_view kPackageServerTango = "VARN_MP_TANGO.EXE";
inline constexpr std::string_view kPackageServerPistols = "VARN_MP_PISTOLS.EXE";
inline constexpr std::string_view kPackageServer9mm = "VARN_MP_9MM.EXE";
inline constexpr std::string_view kPackageHighSound = "VARN_HIGH_SOUND.EXE";
inline constexpr std::string_view kPackageLowSound = "VARN_LOW_SOUND.EXE";
inline constexpr std::string_view kPackageGoCodes = "VARN_GOCODES.EXE";
inline constexpr std::string_view kPackageOriginalGoCodes = "VARN_ORG_GO.EXE";
inline constexpr std::string_view kPackageUninstall = "VARN_UNINSTALL.EXE";

}  // namespace varnopts
