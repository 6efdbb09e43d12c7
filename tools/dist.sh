#!/bin/sh
# make dist: the download for Windows users, build/dist/somnivo-<version>-win32.zip.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^#define SOMNIVO_VERSION "\(.*\)"$/\1/p' "$root/src/ui/resource.h")
name=somnivo-$version-win32
stage=$root/build/dist/$name

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target somnivo powersim >/dev/null

rm -rf "$stage" "$stage.zip"
mkdir -p "$stage"
cp "$root/build/win32/somnivo.exe" "$root/build/win32/tools/powersim/powersim.exe" "$stage/"
# Notepad before Windows 10 shows LF-only text as one long line.
sed 's/$/\r/' "$root/docs/README-windows.txt" >"$stage/README.txt"

cd "$root/build/dist"
cmake -E tar cf "$name.zip" --format=zip "$name"
echo "build/dist/$name.zip:"
for file in "$stage"/*; do
    printf '  %-12s %7d bytes\n' "$(basename "$file")" "$(wc -c <"$file")"
done
printf '  %-12s %7d bytes\n' "(zip)" "$(wc -c <"$name.zip")"
