#!/usr/bin/env bash
# Installs what building and testing the game needs, then makes the
# build's own Wine prefix. Safe to run again: on a ready machine it only
# checks and returns within a second or two.
#   tools/setup.sh BUILD_DIR
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
prefix="$build/wineprefix"

packages=(
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  cmake make googletest python3
  wine wine64 wine32:i386
  xvfb xdotool x11-apps x11-utils imagemagick
  fonts-dejavu-core
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture (wine32 needs it)"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

"$root/tools/setup-packages" "$build" "${packages[@]}" || exit 1

arch_file="$build/wine-arch"
[ -s "$arch_file" ] || "$root/tools/wine-arch" >"$arch_file"
arch="$(cat "$arch_file")"

# A prefix made for the other architecture cannot run these programs.
want_reg_arch=win32
[ "$arch" = x86_64 ] && want_reg_arch=win64
if [ -f "$prefix/system.reg" ] && ! grep -q "^#arch=$want_reg_arch" "$prefix/system.reg"; then
  echo "setup: replacing the Wine prefix made for another architecture"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi

# The build's own Wine prefix. The DLL overrides keep wineboot from offering
# to install Mono or Gecko, which the game never needs; no display is used.
if [ ! -f "$prefix/system.reg" ]; then
  echo "setup: creating the $arch Wine prefix $prefix"
  mkdir -p "$prefix"
  if [ "$arch" = x86_64 ]; then
    wine_bin=/usr/lib/wine/wine64 winearch=win64
  else
    wine_bin=wine winearch=win32
  fi
  WINEPREFIX="$prefix" WINEARCH="$winearch" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= \
    timeout 300 "$wine_bin" wineboot --init </dev/null >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" timeout 60 wineserver -w || true
fi
if [ ! -f "$prefix/system.reg" ]; then
  echo "setup: could not create the Wine prefix $prefix" >&2
  exit 1
fi

# The game asks for Georgia (the overlay) and Verdana (the labels), which
# Wine does not have: the prefix maps them to DejaVu Serif and DejaVu Sans.
fonts_key='HKCU\Software\Wine\Fonts\Replacements'
if ! grep -q '^"Verdana"="DejaVu Sans"' "$prefix/user.reg" 2>/dev/null; then
  echo "setup: mapping Georgia and Verdana to DejaVu Serif and DejaVu Sans"
  for pair in "Georgia=DejaVu Serif" "Verdana=DejaVu Sans"; do
    KELTRIM_BUILD="$build" DISPLAY= timeout 120 "$root/tools/wine-run" reg add "$fonts_key" \
      /v "${pair%%=*}" /d "${pair#*=}" /f </dev/null >/dev/null 2>&1 || true
  done
  WINEPREFIX="$prefix" timeout 60 wineserver -w || true
fi
