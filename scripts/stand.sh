# shellcheck shell=bash
# The Wine test stand: a sandboxed Wine prefix on a virtual desktop "orv" (1024x768) in a
# private Xvfb, with a stand-in for the shell's desktop window and a test viewer registered
# for .pdf, .bmp and .jpg files (tools/testviewer.cpp: records the file it is asked to open,
# for the manual's "&Help" and the snapshot's preview). Source this file, then
#
#   stand_up      # exports HOME, TMPDIR, WINEPREFIX, WINE*, DISPLAY, ORV_STAND, ORV_DESKTOP_XID
#   ...           # run wine programs, ctest, xdotool
#   stand_down    # ends the prefix's processes and Xvfb, removes the sandbox
#
# Knobs (environment):
#   ORV_STAND_DIR=DIR         parent of the per-run sandbox folder (default: a new mktemp -d)
#   ORV_KEEP_STAND=1          stand_down keeps the sandbox folder (for a look afterwards)
#   ORV_USE_HOST_DISPLAY=1    use the caller's DISPLAY when an X server answers there
#                             (otherwise, and always when none answers, a private Xvfb)
#   ORV_TOOLS_DIR=DIR         where standin_shell.exe and testviewer.exe are (default:
#                             build/mingw/tools)
#   ORV_DPI=N                 the display's DPI every program on the stand sees (default 96;
#                             144 is 150 %): LogPixels under HKCU\Control Panel\Desktop, which
#                             Wine 8 reads first, and HKLM\...\Hardware Profiles\Current\
#                             Software\Fonts, its fallback; GetDpiForSystem, GetDpiForWindow and
#                             GetDeviceCaps(LOGPIXELSY) then all give N
#   ORV_STAND_SHELL=SHAPE     the stand-in shell's windows: classic (default; as Windows 10 and
#                             11 before 24H2: asked, it moves its icons into a top-level
#                             "WorkerW") or 24h2 (icons and wallpaper "WorkerW" inside "Progman")
#
# Timings measured here (2 cores, Debian 12, wine 8, other builds running alongside):
# wineboot --init 6-13 s, virtual desktop 0.5-0.9 s, font warm-up 3 s (once 10 s), the
# whole stand_up 11-24 s.

_ORV_STAND_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

_stand_log() { echo "stand: $*" >&2; }

# Milliseconds since the epoch, for the timing notes.
_stand_ms() { date +%s%3N; }

# Waits until "$@" succeeds, polling every 0.1 s, for at most $1 seconds.
_stand_wait() {
  local limit=$1; shift
  local until=$(( $(date +%s) + limit ))
  while ! "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -ge "$until" ] && return 1
    sleep 0.1
  done
}

# A unix path as the Windows path Wine maps it to (drive Z: is the unix root).
_stand_winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }

_stand_display_answers() { DISPLAY="$1" xdpyinfo >/dev/null 2>&1; }

_stand_start_xvfb() {
  local fdfile="$ORV_STAND/xvfb.display"
  : >"$fdfile"
  # -displayfd: Xvfb picks a free display number itself and writes it when it is ready.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" </dev/null >"$ORV_STAND/xvfb.log" 2>&1 &
  ORV_STAND_XVFB_PID=$!
  if ! _stand_wait 20 grep -q '[0-9]' "$fdfile"; then
    _stand_log "Xvfb did not start (see $ORV_STAND/xvfb.log)"
    return 1
  fi
  export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
  export ORV_STAND_XVFB_PID
}

# Replaces the links Wine makes from the user's shell folders to $HOME with real, empty
# folders: a test that moves "everything on the Desktop" must never reach a real home.
_stand_unlink_shell_folders() {
  local user_dir entry
  for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
    for entry in "$user_dir"*; do
      if [ -L "$entry" ]; then
        rm -f "$entry" && mkdir -p "$entry" || return 1
      fi
    done
  done
  # Make sure the usual ones exist even when wineboot did not create them.
  for entry in Desktop Documents Downloads Music Pictures Videos; do
    mkdir -p "$WINEPREFIX/drive_c/users/$(id -un)/$entry"
  done
  if find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type l | grep -q .; then
    _stand_log "symbolic links remain under drive_c/users"
    return 1
  fi
}

# A text as a REGEDIT4 string: backslashes and quotes escaped.
_stand_reg_string() { local s="${1//\\/\\\\}"; printf '"%s"' "${s//\"/\\\"}"; }

_stand_write_reg() {
  local dpi
  dpi="$(printf '%08x' "$2")"
  cat >"$1" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:$dpi

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]
"LogPixels"=dword:$dpi

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="orv"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"orv"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  # Wine has no program for .pdf files, nor one of its own for pictures: the test viewer
  # opens them (it records the path).
  if [ -n "${3:-}" ]; then
    cat >>"$1" <<REG

[HKEY_CLASSES_ROOT\.pdf]
@="OrvTestViewer.pdf"

[HKEY_CLASSES_ROOT\.bmp]
@="OrvTestViewer.pdf"

[HKEY_CLASSES_ROOT\.jpg]
@="OrvTestViewer.pdf"

[HKEY_CLASSES_ROOT\OrvTestViewer.pdf\shell\open\command]
@=$(_stand_reg_string "\"$3\" \"%1\"")
REG
  fi
}

stand_up() {
  local t0 t
  t0=$(_stand_ms)
  if [ -n "${ORV_STAND:-}" ]; then
    _stand_log "already up at $ORV_STAND"
    return 0
  fi
  local tools="${ORV_TOOLS_DIR:-$_ORV_STAND_REPO/build/mingw/tools}"
  local dpi="${ORV_DPI:-96}"
  local shape="${ORV_STAND_SHELL:-classic}"
  case "$shape" in
    classic|24h2) ;;
    *) _stand_log "ORV_STAND_SHELL=$shape is neither classic nor 24h2"; return 1 ;;
  esac
  if ! [[ "$dpi" =~ ^[0-9]+$ ]] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
    _stand_log "ORV_DPI=$dpi is not a DPI between 48 and 480"
    return 1
  fi
  if [ ! -f "$tools/standin_shell.exe" ]; then
    _stand_log "missing $tools/standin_shell.exe (build the mingw preset first)"
    return 1
  fi

  # The caller's environment, restored by stand_down.
  _ORV_SAVED_HOME="${HOME-}"
  _ORV_SAVED_TMPDIR="${TMPDIR-}"
  _ORV_SAVED_DISPLAY="${DISPLAY-}"
  _ORV_SAVED_DISPLAY_SET="${DISPLAY+1}"

  local parent="${ORV_STAND_DIR:-}"
  if [ -z "$parent" ]; then
    parent="$(mktemp -d "${TMPDIR:-/tmp}/orv-stand.XXXXXX")" || return 1
    _ORV_STAND_PARENT_MADE="$parent"
  else
    mkdir -p "$parent" || return 1
    _ORV_STAND_PARENT_MADE=""
  fi
  export ORV_STAND
  ORV_STAND="$(mktemp -d "$parent/run.XXXXXX")" || return 1
  mkdir -p "$ORV_STAND/home" "$ORV_STAND/tmp" "$ORV_STAND/logs"

  export HOME="$ORV_STAND/home"
  export TMPDIR="$ORV_STAND/tmp"
  export WINEPREFIX="$ORV_STAND/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset WINESERVER WINELOADER 2>/dev/null || true
  local logs="$ORV_STAND/logs"

  # Display: the caller's when asked for and alive, else a private Xvfb.
  ORV_STAND_XVFB_PID=""
  if [ "${ORV_USE_HOST_DISPLAY:-0}" = 1 ] && [ -n "${_ORV_SAVED_DISPLAY}" ] \
     && _stand_display_answers "$_ORV_SAVED_DISPLAY"; then
    export DISPLAY="$_ORV_SAVED_DISPLAY"
    _stand_log "using the display $DISPLAY"
  else
    _stand_start_xvfb || { stand_down; return 1; }
    _stand_log "Xvfb on $DISPLAY"
  fi

  # A persistent server: every later wine process starts in 0.1-0.2 s instead of 0.4-2.5 s.
  # The first wine process after it must not have a pipe as stdout/stderr (the background
  # services inherit them, and a pipe reader would wait forever): all output goes to files.
  t=$(_stand_ms)
  wineserver -p </dev/null >"$logs/wineserver.log" 2>&1
  if ! wine wineboot --init </dev/null >"$logs/wineboot.log" 2>&1; then
    _stand_log "wineboot --init failed (see $logs/wineboot.log)"
    stand_down; return 1
  fi
  _stand_log "prefix created in $(( $(_stand_ms) - t )) ms"   # 6-7 s

  _stand_unlink_shell_folders || { stand_down; return 1; }

  local viewer=""
  if [ -f "$tools/testviewer.exe" ]; then
    viewer="$(_stand_winpath "$tools/testviewer.exe")"
  else
    _stand_log "no $tools/testviewer.exe: .pdf files have no viewer on this stand"
  fi
  _stand_write_reg "$ORV_STAND/stand.reg" "$dpi" "$viewer"
  if ! wine regedit /S "$(_stand_winpath "$ORV_STAND/stand.reg")" </dev/null >"$logs/regedit.log" 2>&1; then
    _stand_log "regedit failed (see $logs/regedit.log)"
    stand_down; return 1
  fi

  # The virtual desktop, started once in the background; programs started later land on it.
  t=$(_stand_ms)
  wine explorer /desktop=orv,1024x768 </dev/null >"$logs/explorer.log" 2>&1 &
  ORV_STAND_EXPLORER_PID=$!
  if ! _stand_wait 30 xdotool search --name '^orv - Wine desktop$'; then
    _stand_log "the virtual desktop window did not appear (see $logs/explorer.log)"
    stand_down; return 1
  fi
  export ORV_DESKTOP_XID
  ORV_DESKTOP_XID="$(xdotool search --name '^orv - Wine desktop$' | head -n1)"
  _stand_log "virtual desktop X window $ORV_DESKTOP_XID in $(( $(_stand_ms) - t )) ms"

  # Pay the one-time font scan here, not in the first test.
  t=$(_stand_ms)
  if ! wine "$tools/standin_shell.exe" --warmup </dev/null >"$logs/warmup.log" 2>&1; then
    _stand_log "font warm-up failed (see $logs/warmup.log)"
    stand_down; return 1
  fi
  _stand_log "font warm-up in $(( $(_stand_ms) - t )) ms"

  # The stand-in for the shell's desktop window; it writes the ready file after its first paint.
  local ready="$ORV_STAND/shell.ready"
  wine "$tools/standin_shell.exe" "--ready=$(_stand_winpath "$ready")" "--shape=$shape" </dev/null >"$logs/shell.log" 2>&1 &
  ORV_STAND_SHELL_PID=$!
  if ! _stand_wait 30 test -s "$ready"; then
    _stand_log "the stand-in shell did not come up (see $logs/shell.log)"
    stand_down; return 1
  fi
  export ORV_STAND_EXPLORER_PID ORV_STAND_SHELL_PID
  _stand_log "up in $(( $(_stand_ms) - t0 )) ms at $ORV_STAND (DISPLAY=$DISPLAY)"
}

stand_down() {
  [ -n "${ORV_STAND:-}" ] || return 0
  local stand="$ORV_STAND"
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    # Ends only this prefix's processes; -w then waits for the server to go.
    WINEPREFIX="$WINEPREFIX" wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$WINEPREFIX" timeout 10 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${ORV_STAND_EXPLORER_PID:-}" "${ORV_STAND_SHELL_PID:-}"; do
    [ -n "$pid" ] && { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  done
  if [ -n "${ORV_STAND_XVFB_PID:-}" ]; then
    kill "$ORV_STAND_XVFB_PID" 2>/dev/null
    wait "$ORV_STAND_XVFB_PID" 2>/dev/null
  fi

  # Back to the caller's environment.
  export HOME="$_ORV_SAVED_HOME"
  if [ -n "$_ORV_SAVED_TMPDIR" ]; then export TMPDIR="$_ORV_SAVED_TMPDIR"; else unset TMPDIR; fi
  if [ -n "$_ORV_SAVED_DISPLAY_SET" ]; then export DISPLAY="$_ORV_SAVED_DISPLAY"; else unset DISPLAY; fi
  unset WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES ORV_DESKTOP_XID \
        ORV_STAND ORV_STAND_XVFB_PID ORV_STAND_EXPLORER_PID ORV_STAND_SHELL_PID

  if [ "${ORV_KEEP_STAND:-0}" = 1 ]; then
    _stand_log "kept $stand"
  else
    case "$stand" in
      */run.*) rm -rf -- "$stand" ;;
    esac
    if [ -n "${_ORV_STAND_PARENT_MADE:-}" ]; then
      rmdir -- "$_ORV_STAND_PARENT_MADE" 2>/dev/null || true
    fi
  fi
  _ORV_STAND_PARENT_MADE=""
}
