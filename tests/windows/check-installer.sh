#!/usr/bin/env bash
# The installer under Wine: it refuses Windows 7; a silent install (/S) puts both programs, their Qt, the Start-menu
# entry and an uninstaller that describes itself in place, the installed window program starts and stays up, a reinstall and an uninstall
# leave it be while it runs, and the silent uninstall removes every file it installed. Every
# program of the zip starts from its own folder. Skipped (77) when the installer has not been
# made yet.
# Usage: check-installer.sh WINE_RUN SETUP.exe
set -euo pipefail
run=$1 setup=$2
[ -f "$setup" ] || { echo "no installer at $setup (scripts/windows package makes it)"; exit 77; }
app_pid= xvfb_pid=
owned_pids="app_pid xvfb_pid"
source "$(dirname "$0")/../app/window-test-support.sh"
source "$(dirname "$0")/../app/xvfb.sh"

prefix=$("$run" --prefix)
dir="$prefix/drive_c/Program Files/Zerlind Firm Utility"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zerlind Firm Utility"
check "the installer is DPI-aware" grep -q 'WindowsSettings">true</dpiAware>' <(strings "$setup")
check "the installer names the programs' company and its version" \
  grep -qz 'CompanyName.vurn.*ProductVersion.[0-9]' <(strings -el "$setup" | tr '\n' ' ')
# One string of a program's version information: the UTF-16 value after its key and padding.
version_string() { # program, key
  python3 -c 'import re, sys; m = re.search(re.escape(sys.argv[2].encode("utf-16le")) + rb"\0\0(?:\0\0)?((?:..)*?)\0\0",
    open(sys.argv[1], "rb").read(), re.S); print(m[1].decode("utf-16le") if m else "")' "$@"
}
# The system Wine reports (its own default is Windows 7): Windows 7 is refused, then Windows 10.
wine_reports() { "$run" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f >/dev/null; }
wine_reports win7; status=0; "$run" "$setup" /S || status=$?; wine_reports win10
check "Windows 7 is refused (status $status)" test "$status" = 3
check "nothing is installed on Windows 7" test ! -e "$dir"
"$run" "$setup" /S
check "the window program is installed" test -f "$dir/zerlind-firm-utility.exe"
check "the command line is installed" test -f "$dir/zerlind-firm-update.exe"
# The uninstaller describes itself, not the installer it came with.
description=$(version_string "$dir/uninstall.exe" FileDescription)
check "the uninstaller describes itself ($description)" test "$description" = "Zerlind Firm Utility uninstaller"
check "the uninstaller is named uninstall.exe" test "$(version_string "$dir/uninstall.exe" OriginalFilename)" = uninstall.exe
check "the uninstaller's copyright carries © and the year" grep -q '^© 20[0-9][0-9] ' <<<"$(version_string "$dir/uninstall.exe" LegalCopyright)"
check "the window system's plugin is installed" test -f "$dir/plugins/platforms/qwindows.dll"
check "the Start-menu entry is there" test -f "$menu/Zerlind Firm Utility.lnk"
# Every DLL and Qt text installed has its entry (a line beginning with its name) in the notices.
for file in $(cd "$dir" && find . -name '*.dll' -o -name '*.qm'); do
  check "the notices name ${file##*/}" grep -qxF "${file##*/}" <(tr -d '\r' <"$dir/THIRD-PARTY-NOTICES.txt" | cut -d ' ' -f 1)
done
check "the simulator is not installed unless asked for" test ! -e "$dir/zerlind-radio-sim.exe"
for program in zerlind-firm-update zerlind-firm-utility; do
  version=$(cd "$dir" && "$run" "./$program.exe" --version | tr -d '\r')
  check "the installed $program starts in its folder ($version)" grep -q "^$program " <<<"$version"
done
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZerlindFirmUtility'
check "the Apps entry names the programs' company" grep -q 'Publisher.*REG_SZ.*vurn' <<<"$("$run" reg query "$key" /v Publisher)"
check "the Apps entry gives the size" grep -q 'EstimatedSize.*REG_DWORD.*0x[0-9a-f]\{3,\}' <<<"$("$run" reg query "$key" /v EstimatedSize)"
zip=${setup%-setup.exe}-windows-x64.zip
unzip -q "$zip" -d "$scratch/zip"
check "the zip holds the notices" test -f "$scratch/zip/zerlind-firm-utility-"*/THIRD-PARTY-NOTICES.txt
while read -r exe; do
  version=$(cd "$(dirname "$exe")" && "$run" "./$(basename "$exe")" --version | tr -d '\r')
  check "$(basename "$exe") of the zip starts in its folder ($version)" grep -q "^$(basename "$exe" .exe) " <<<"$version"
done < <(find "$scratch/zip" -name '*.exe')

# The installed window program on a bare X server, with only what the installer put beside it:
# its caution appears, and it is still up.
outer_display=${DISPLAY:-}
start_xvfb 1024x768x24 || exit 1
# Wine's desktop must draw on this X server, not on the one its running server first used.
"$run" --end-server
"$run" --start-server
# The next test finds a server again, one that draws where the tests around this one draw.
trap '"$run" --end-server; DISPLAY=$outer_display "$run" --start-server; stop_and_clean' EXIT
"$run" "$dir/zerlind-firm-utility.exe" >"$scratch/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 150); do
  xdotool search --onlyvisible --name '^Zerlind Firm Utility$' >/dev/null 2>&1 && break
  sleep 0.2
done
check "the installed window program shows its caution" xdotool search --onlyvisible --name '^Zerlind Firm Utility$'
check "the installed window program is still up" kill -0 "$app_pid"
# A program that runs is not replaced or removed under it: a silent run gives up (status 2).
status=0; "$run" "$setup" /S || status=$?
check "a reinstall gives up while the program runs (status $status)" test "$status" = 2
# The quiet uninstall as the Apps entry registers it, through cmd: its status says what happened.
quiet=$("$run" reg query "$key" /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
printf '@%s\r\n@exit /b %%errorlevel%%\r\n' "$quiet" >"$scratch/uninstall.bat"
quiet_uninstall() { local status=0; "$run" cmd /c "Z:${scratch//\//\\}\\uninstall.bat" || status=$?; echo "$status"; }
status=$(quiet_uninstall)
check "a quiet uninstall gives up while the program runs (status $status)" test "$status" = 2
check "the running program is still installed" test -f "$dir/zerlind-firm-utility.exe"
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=

# Upgrades: the simulator and the PATH entry chosen by switch, then kept by a plain upgrade.
user_path() { "$run" reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
"$run" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools' /f >/dev/null
"$run" "$setup" /S /SIMULATOR /PATH
check "/SIMULATOR installs the simulator" test -f "$dir/zerlind-radio-sim.exe"
check "/PATH puts the folder on the user's PATH ($(user_path))" test "$(user_path)" = 'C:\tools;C:\Program Files\Zerlind Firm Utility'
"$run" "$setup" /S
check "an upgrade keeps the simulator" test -f "$dir/zerlind-radio-sim.exe"
check "an upgrade keeps the PATH entry once ($(user_path))" test "$(user_path)" = 'C:\tools;C:\Program Files\Zerlind Firm Utility'

# The quiet uninstall runs in place; a copy of it removes its file and the folder once it ended.
status=$(quiet_uninstall)
check "the quiet uninstall says it happened (status $status)" test "$status" = 0
for _ in $(seq 150); do [ -e "$dir" ] || break; sleep 0.2; done
check "the uninstaller removed the program folder" test ! -e "$dir"
check "the uninstaller removed the Start-menu entry" test ! -e "$menu"
check "the uninstaller took the folder off the PATH ($(user_path))" test "$(user_path)" = 'C:\tools'
"$run" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
"$run" reg delete 'HKCU\Environment' /v Path /f >/dev/null 2>&1 || true
status=0; "$run" reg query 'HKCU\Software\QtProject' >/dev/null 2>&1 || status=$?
check "no empty key of Qt's file dialog is left" test "$status" != 0
exit "$fail"
