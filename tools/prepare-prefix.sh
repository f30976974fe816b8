#!/usr/bin/env bash
# Prepares the project's wine prefix once: CJK font replacements for the face names the UI uses and no
# crash dialogs (a dialog would stall an unattended run). Needs WINEPREFIX and DISPLAY set by the session.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
: "${WINEPREFIX:?run inside a wine session}"

stamp=$WINEPREFIX/.vexo-prefix-$(sha1sum "$0" | cut -c1-10)
[ -f "$stamp" ] && exit 0

log "preparing wine prefix $WINEPREFIX"
wineboot -i </dev/null >/dev/null 2>&1
for face in "Microsoft YaHei" "微软雅黑" "SimSun" "宋体" "NSimSun" "SimHei" "黑体"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f \
    </dev/null >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
wineserver -w
touch "$stamp"
