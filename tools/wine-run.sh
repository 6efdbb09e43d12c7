#!/bin/sh
# Runs a Windows program under Wine: CTest's emulator for the Windows presets,
# and the launcher of `make run` and `make demo`.
#
#   wine-run.sh [--win64] program.exe [arguments...]
#   wine-run.sh --can-run-win32     exit 0 when 32-bit programs can run here
#
# Each architecture has its own prefix, private to this checkout
# (build/wineprefix-win32, build/wineprefix-win64), made on first use and
# reused after. Without a display the program runs inside its own Xvfb with a
# 1024x768 screen.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)

# Wine needs a display even to make its prefix: without one, the prefix's
# set-up fails half way and later starts stall.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
arch=win32
loader=/usr/lib/wine/wine
case "${1:-}" in
--win64)
    arch=win64
    loader=/usr/lib/wine/wine64
    shift
    ;;
--can-run-win32)
    # Wine's 32-bit loader is a 32-bit Linux program: it cannot start where
    # the kernel has its 32-bit emulation switched off.
    exec /usr/lib/wine/wine --version >/dev/null 2>&1
    ;;
esac

export WINEPREFIX="${SOMNIVO_WINEPREFIX:-$root/build/wineprefix-$arch}"
export WINEARCH=$arch
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A fixed ANSI code page (1252), so 8-bit bytes in fixtures mean the same everywhere.
export LC_ALL=C

prepare_prefix() {
    [ -f "$WINEPREFIX/.somnivo-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    "$loader" wineboot -i >/dev/null 2>&1
    # Xvfb has no window manager; unmanaged windows spare a 2 s stall at each
    # hide or destroy.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1
    "$(dirname "$loader")/wineserver" -w
    touch "$WINEPREFIX/.somnivo-ready"
}

# Wine's own Tahoma and Marlett (the caption buttons' glyphs), which its
# 64-bit loader does not find where Debian puts them.
install_wine_fonts() {
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$fonts/marlett.ttf" ] && return 0
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -f "$font" ] && cp "$font" "$fonts/"
    done
    return 0
}

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    prepare_prefix
    install_wine_fonts
) 9>"$WINEPREFIX.lock"

exec "$loader" "$@"
