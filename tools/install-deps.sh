#!/bin/sh
# Installs what the build, the tests and the demo need on Debian 12.
# Does nothing when everything is already there, so `make` can call it
# every time.
set -eu

packages="cmake make g++ libgtest-dev googletest clang-format
g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine xvfb xauth icoutils
imagemagick x11-utils
clang-14 libclang-rt-14-dev llvm-14"

missing=""
for package in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
    "install ok installed") ;;
    *) missing="$missing $package" ;;
    esac
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
