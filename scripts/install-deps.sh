#!/usr/bin/env bash
# Installs what building, testing and packaging Oktalon needs on Debian 12 (run as root; does nothing when
# everything is there already). Where the kernel runs 32-bit programs, the x86 build runs under
# Wine's 32-bit loader (wine32:i386), so the i386 architecture is added to dpkg first; where it
# cannot, neither is installed (the x86 build is still compiled, its suites are skipped).
set -euo pipefail
source "$(dirname "$0")/wine-loader.sh"
packages=(
  cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev googletest locales git
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xdotool x11-utils fonts-liberation imagemagick jq
  fuse3 libfuse3-dev pkg-config nsis zip unzip python3
)
export DEBIAN_FRONTEND=noninteractive
updated=0
if oktalon_kernel_runs_x86; then
  packages+=(wine32:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "adding the i386 architecture (for wine32)"
    dpkg --add-architecture i386
    apt-get update -q
    updated=1
  fi
else
  echo "not installing wine32:i386: this machine's kernel cannot run 32-bit programs (the x86 build is only built)"
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  [ "$updated" = 1 ] || apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
