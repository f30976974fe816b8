#!/usr/bin/env bash
# Prepares the target's wine prefix: CJK font replacements for the face names the UI uses, no crash dialogs
# (a dialog would stall an unattended run) and no crash debugger, the target's 7-Zip console as 7z.exe in
# the system folder a program of the target sees, and the test CA in the machine's trusted Root store.
# Needs WINEPREFIX and DISPLAY set by the session and the build done (tools/build.sh). Redone only when one
# of its inputs changes.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$VEXO_ROOT/tools/lib/test-pki.sh"
: "${WINEPREFIX:?run inside a wine session}"

"$VEXO_ROOT/cmake/deps/7zip.sh"
seven_zip=$(vexo_deps_dir)/bin/7z.exe
add_root_cert=$VEXO_BUILD_DIR/tools/wine/add_root_cert.exe
[ -f "$seven_zip" ] || die "missing $seven_zip"
[ -f "$add_root_cert" ] || die "missing $add_root_cert (run tools/build.sh)"
test_pki_ensure

inputs=$(cat "$0" "$seven_zip" "$VEXO_TEST_PKI_DIR/ca.pem" | sha1sum | cut -c1-10)
stamp=$WINEPREFIX/.vexo-prefix-$inputs
[ -f "$stamp" ] && exit 0

log "preparing wine prefix $WINEPREFIX"
rm -f "$WINEPREFIX"/.vexo-prefix-*
wineboot -i </dev/null >/dev/null 2>&1
for face in "Microsoft YaHei" "微软雅黑" "SimSun" "宋体" "NSimSun" "SimHei" "黑体"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f \
    </dev/null >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
# Nor a debugger for a crashing program: the installer's shell refresh (RunDll32 with a user32 function that
# wine lacks) would otherwise start winedbg, whose console window opens over the done page and takes a core
# for its backtrace. wine starts winedbg when the key names no debugger, so it names one that does not exist;
# and it reads the 64-bit view of the key even for a 32-bit program, so both views get it.
for view in 64 32; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d 'no-crash-debugger.exe' /f /reg:$view </dev/null >/dev/null 2>&1
done

# wine links the user's Desktop, Documents and the like to the build machine's home: make them folders of
# the prefix, so that shortcuts and files of the tests stay inside it and prefixes never share a desktop.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm "$link"
    mkdir "$link"
  fi
done

# The folder a program of the target gets for C:\windows\system32: for a 32-bit process syswow64 in a 64-bit
# prefix and system32 itself in a 32-bit one; for a 64-bit process always system32 (a 64-bit prefix on a
# machine without 32-bit programs may still have an empty syswow64).
system_dir=$WINEPREFIX/drive_c/windows/system32
if [ "$VEXO_ARCH" = i686 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  system_dir=$WINEPREFIX/drive_c/windows/syswow64
fi
cp "$seven_zip" "$system_dir/7z.exe"

ca_windows_path=$(winepath -w "$VEXO_TEST_PKI_DIR/ca.pem" 2>/dev/null </dev/null)
quietly "$WINEPREFIX/add_root_cert.log" wine "$add_root_cert" "$ca_windows_path"
rm -f "$WINEPREFIX/add_root_cert.log"
wineserver -w
touch "$stamp"
