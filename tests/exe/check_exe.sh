#!/bin/sh
# Checks what the built somnivo.exe carries, without running it:
#
#   check_exe.sh [--arch i386|x86-64] EXE MANIFEST
#
# - the PE machine of the build (i386 by default) and the Windows GUI subsystem,
#   so no console window opens beside the tray icon;
# - imports from system DLLs only, so the exe runs from any folder on its own;
# - the application icon (group 104): a 16x16 and a 32x32 image at 4 bits per pixel;
# - manifest 1, byte for byte the file MANIFEST;
# - a version resource that names the program and carries the version of src/ui/resource.h.
#
# Needs the mingw-w64 objdump of the architecture and wrestool/icotool from icoutils.
set -eu

usage() {
    echo "usage: $0 [--arch i386|x86-64] EXE MANIFEST" >&2
    exit 2
}

arch=i386
if [ "${1:-}" = "--arch" ]; then
    [ $# -ge 2 ] || usage
    arch=$2
    shift 2
fi
[ $# -eq 2 ] || usage
exe=$1
manifest=$2

case $arch in
i386) objdump=i686-w64-mingw32-objdump ;;
x86-64) objdump=x86_64-w64-mingw32-objdump ;;
*) usage ;;
esac

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
ok() {
    echo "ok:   $*"
}
fatal() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in "$objdump" wrestool icotool; do
    command -v "$tool" >/dev/null 2>&1 || fatal "$tool not found (mingw-w64 binutils, icoutils)"
done
[ -f "$exe" ] || fatal "no such exe: $exe"
[ -f "$manifest" ] || fatal "no such manifest: $manifest"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

"$objdump" -p "$exe" >"$work/headers" 2>"$work/objdump.err" ||
    fatal "$exe is not a PE executable for $arch: $(cat "$work/objdump.err")"

# Machine, e.g. "file format pei-i386".
format=$(sed -n 's/.*file format //p' "$work/headers" | head -n 1)
if [ "$format" = "pei-$arch" ]; then
    ok "machine $arch ($format)"
else
    fail "machine: expected pei-$arch, the exe is '$format'"
fi

subsystem=$(awk '$1 == "Subsystem" { print $2 }' "$work/headers")
case $subsystem in
00000002) ok "subsystem Windows GUI (2)" ;;
*) fail "subsystem: expected 00000002 (Windows GUI), found '$subsystem'" ;;
esac

# The C++ runtime is linked in statically; a DLL of it here would be missing on
# the user's machine.
sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' "$work/headers" >"$work/dlls"
[ -s "$work/dlls" ] || fail "imports: no imported DLL found, cannot be a working exe"
while read -r dll; do
    case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
    kernel32.dll | user32.dll | gdi32.dll | shell32.dll | comctl32.dll | msvcrt.dll | advapi32.dll)
        ok "imports $dll"
        ;;
    *)
        fail "imports $dll, which is not a system DLL"
        ;;
    esac
done <"$work/dlls"

# wrestool writes the icon group out as an .ico file, which icotool lists.
if wrestool -x --type=14 --name=104 -o "$work/icon.ico" "$exe" 2>/dev/null &&
    [ -s "$work/icon.ico" ]; then
    images=$(icotool -l "$work/icon.ico" 2>/dev/null |
        sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=\([0-9]*\).*/\1x\2x\3/p' |
        sort -n | tr '\n' ' ' | sed 's/ $//')
    if [ "$images" = "16x16x4 32x32x4" ]; then
        ok "icon 104: 16x16 and 32x32 at 4 bpp"
    else
        fail "icon 104: expected '16x16x4 32x32x4' (width x height x bpp), found '$images'"
    fi
else
    fail "icon 104: no such icon group"
fi

wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest" 2>/dev/null || true
if [ ! -s "$work/manifest" ]; then
    fail "manifest 1: no such resource"
elif cmp -s "$work/manifest" "$manifest"; then
    ok "manifest 1 equals $manifest"
else
    fail "manifest 1 differs from $manifest"
fi

# The version the program declares; the exe must carry the same.
header=$(cd "$(dirname "$0")/../.." && pwd)/src/ui/resource.h
version=$(sed -n 's/^#define SOMNIVO_VERSION "\(.*\)"/\1/p' "$header")
numbers=$(sed -n 's/^#define SOMNIVO_VERSION_NUMBERS //p' "$header" | tr -d ' ')
if [ -z "$version" ] || [ -z "$numbers" ]; then
    fatal "no SOMNIVO_VERSION or SOMNIVO_VERSION_NUMBERS in $header"
fi

wrestool -x --raw --type=16 "$exe" >"$work/version" 2>/dev/null || true
if [ ! -s "$work/version" ]; then
    fail "version: no version resource"
else
    # The strings are UTF-16: without the zero bytes a key runs straight into its value.
    tr -d '\000' <"$work/version" >"$work/version.txt"
    for pair in "ProductName Somnivo" "FileVersion $version" "ProductVersion $version"; do
        key=${pair% *}
        value=${pair#* }
        if grep -aqF "$key$value" "$work/version.txt"; then
            ok "version: $key is $value"
        else
            fail "version: $key is not $value"
        fi
    done
    # VS_FIXEDFILEINFO: its signature, the structure version, then FILEVERSION's
    # high word pair, all little-endian.
    old_ifs=$IFS
    IFS=,
    # shellcheck disable=SC2086 # the split on commas is the point
    set -- $numbers
    IFS=$old_ifs
    le16() { printf '%02x %02x' $(($1 & 255)) $(($1 >> 8)); }
    fixed="bd 04 ef fe 00 00 01 00 $(le16 "$2") $(le16 "$1")"
    if od -An -v -tx1 "$work/version" | tr -s ' \n' '  ' | grep -q "$fixed"; then
        ok "version: FILEVERSION starts $1.$2"
    else
        fail "version: FILEVERSION does not start $1.$2"
    fi
fi

echo "size: $(wc -c <"$exe" | tr -d ' ') bytes ($exe)"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed for $exe" >&2
    exit 1
fi
echo "all checks passed for $exe"
