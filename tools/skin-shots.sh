#!/usr/bin/env bash
# Screenshots of the installer's skin: runs the skin preview on each page under a wine session on Xvfb and
# saves the window as PNG files in OUT_DIR (default skin-shots/ of the build folder): each page, the start
# page with the mouse over the install button and with the keyboard focus on it, every window also on a
# white margin to show its edge. Runs the build of the target this machine runs (VEXO_ARCH picks one),
# which must be there (tools/build.sh). Ends every process it starts.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$VEXO_ROOT/tools/lib/wine-session.sh"
vexo_set_run_target
log "the $VEXO_ARCH build: $target_reason"

out_dir=$(realpath -m "${1:-$VEXO_BUILD_DIR/skin-shots}")
preview=$VEXO_BUILD_DIR/tools/skin_preview/skin_preview.exe
install_exe=$VEXO_BUILD_DIR/app/Install.exe
[ -f "$preview" ] && [ -f "$install_exe" ] || die "build first (VEXO_ARCH=$VEXO_ARCH tools/build.sh)"
mkdir -p "$out_dir"
wine_session_start

# Points of the start page in window coordinates; the page sits at y 255 (positions from a1.xml).
install_button_x=300
install_button_y=$((255 + 86 + 20))
path_field_x=$((84 + 40))
path_field_y=$((255 + 36 + 12))

preview_pid=
stop_preview() {
  [ -n "$preview_pid" ] || return 0
  kill "$preview_pid" 2>/dev/null || true
  wait "$preview_pid" 2>/dev/null || true
  preview_pid=
}
trap 'stop_preview; wine_session_stop' EXIT

# capture NAME: the preview window as NAME.png, and on a white margin as NAME-edge.png.
capture() {
  sleep 1
  import -window root -crop "${width}x${height}+${left}+${top}" +repage "$out_dir/$1.png"
  convert "$out_dir/$1.png" -bordercolor white -border 24 "$out_dir/$1-edge.png"
  log "saved $out_dir/$1.png"
}

# shoot PAGE NAME [ACTION]: shows PAGE, optionally does ACTION (hover, focus), captures it, closes it.
shoot() {
  local page=$1 name=$2 action=${3:-}
  wine "$preview" "$install_exe" "$page" </dev/null >/dev/null &
  preview_pid=$!
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Vexo助手在线安装' | head -n1) ||
    die "the preview window of page $page did not appear"
  eval "$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  left=$X top=$Y width=$WIDTH height=$HEIGHT
  xdotool mousemove 0 0
  case "$action" in
    hover) xdotool mousemove $((left + install_button_x)) $((top + install_button_y)) ;;
    focus)
      # Into the path field with the mouse, then on to the browse and the install button.
      xdotool mousemove $((left + path_field_x)) $((top + path_field_y)) click 1 mousemove 0 0
      xdotool windowfocus --sync "$window" key --delay 80 Tab Tab ;;
  esac
  capture "$name"
  xdotool windowfocus --sync "$window" key alt+F4 || true
  for _ in $(seq 50); do
    kill -0 "$preview_pid" 2>/dev/null || break
    sleep 0.1
  done
  stop_preview
}

shoot start start
shoot start start-hover hover
shoot start start-focus focus
shoot progress progress
shoot failed failed
shoot done done
log "screenshots in $out_dir"
