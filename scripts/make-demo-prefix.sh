#!/usr/bin/env bash
# Lays the sample game installation of demo/ out as a 64-bit Wine prefix in
# TARGET: system.reg with the game's, the expansion's and the modification's
# keys, the dosdevices links and drive_c with the game's folders and files.
# TARGET must not exist yet or be an empty folder; nothing else is touched.
set -euo pipefail

usage() {
    echo "Usage: $0 TARGET" >&2
    echo "Lays the sample installation out as a Wine prefix in TARGET (a new or empty folder)." >&2
}

if [ $# -ne 1 ] || [ -z "$1" ]; then
    usage
    exit 2
fi
target=$1
demo=$(cd "$(dirname "$0")/../demo" && pwd)

if [ -e "$target" ] && { [ ! -d "$target" ] || [ -n "$(ls -A "$target")" ]; }; then
    echo "$0: $target exists and is not an empty folder; choose a new one." >&2
    exit 1
fi
mkdir -p "$target"
target=$(cd "$target" && pwd)

# Windows folders of the installation (as the game records them) and where
# they lie under drive_c.
game_win='C:\Program Files (x86)\Red Storm Entertainment\Rainbow Six'
game_dir="$target/drive_c/Program Files (x86)/Red Storm Entertainment/Rainbow Six"
mod_win='C:\Program Files (x86)\TORV\VARN MOD 2.0'
mod_dir="$target/drive_c/Program Files (x86)/TORV/VARN MOD 2.0"

# --- drives -----------------------------------------------------------------
mkdir -p "$target/dosdevices" "$target/drive_c/windows/system32"
ln -s ../drive_c "$target/dosdevices/c:"
ln -s / "$target/dosdevices/z:"

# --- the game and the modification --------------------------------------------
mkdir -p "$game_dir" "$mod_dir"
cp -R "$demo/game/." "$game_dir/"
cp -R "$demo/varn/." "$mod_dir/"

# Every folder the game records must exist, with the English subfolders the
# programs look into.
for folder in data/actor data/bitmap data/sound/music data/kit data/text/kit/English \
    data/sound/English data/text data/mission data/texture data/text/shell/English; do
    mkdir -p "$game_dir/$folder"
done

# Stand-ins for the game's programs. Only their length matters here: 4814528
# bytes is the length of a game at version 1.04, which the options program
# accepts without asking.
truncate -s 4814528 "$game_dir/RainbowSix.exe"
truncate -s 1372160 "$game_dir/RainbowSixMP.exe"

# Installed from CD, the game's files come read-only; the programs make the
# files they change writable again.
chmod a-w "$game_dir/data/kit/primarymp.itm" "$game_dir/data/kit/specialmp.itm" \
    "$game_dir/data/text/kit/English/special.txt" "$game_dir/RainbowSix.exe"

# --- registry -------------------------------------------------------------------
# Wine's text format: key paths relative to HKEY_LOCAL_MACHINE with doubled
# backslashes, the key's modification time in seconds after the name, and a
# "#time=" line with the same time as a Windows FILETIME in hex.
now=$(date +%s)
filetime=$(printf '%x' $(( (now + 11644473600) * 10000000 )))

# A registry text: backslashes and double quotes escaped as Wine writes them.
reg_text() {
    local text=${1//\\/\\\\}
    printf '"%s"' "${text//\"/\\\"}"
}

reg_key() {
    printf '\n[%s] %s\n#time=%s\n' "${1//\\/\\\\}" "$now" "$filetime"
}

reg_value() {
    printf '%s=%s\n' "$(reg_text "$1")" "$(reg_text "$2")"
}

# The programs are 32-bit Windows programs: in a 64-bit prefix their
# HKLM\Software keys are the ones under Software\Wow6432Node.
software='Software\Wow6432Node'
{
    printf 'WINE REGISTRY Version 2\n'
    printf ';; All keys relative to REGISTRY\\\\Machine\n'
    printf '\n#arch=win64\n'

    reg_key "$software\\Red Storm Entertainment\\Tom Clancy's Rainbow Six"
    reg_value ActionMusicPath "$game_win\\data\\sound\\music"
    reg_value ActorPath "$game_win\\data\\actor"
    reg_value BitmapPath "$game_win\\data\\bitmap"
    reg_value EquipmentPath "$game_win\\data\\kit"
    reg_value EquipTextPath "$game_win\\data\\text\\kit"
    reg_value InstallationPath "$game_win\\"
    reg_value MissionPath "$game_win\\data\\mission"
    reg_value MouseRadiansPerPixel "0.008727"
    reg_value ShellTextPath "$game_win\\data\\text\\shell"
    reg_value SoundPath "$game_win\\data\\sound"
    reg_value TextPath "$game_win\\data\\text"
    reg_value TexturePath "$game_win\\data\\texture"

    # Eagle Watch counts as installed when its key exists.
    reg_key "$software\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch"

    reg_key "$software\\TORV\\VARN MOD 2.0"
    reg_value InstallPath "$mod_win"
} >"$target/system.reg"

echo "Sample installation laid out as a Wine prefix in $target"
