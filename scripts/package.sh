#!/usr/bin/env bash
# Makes the release in dist/: builds oktalon.exe for x86-64 and for x86 in Release (in
# build/release), packs each build into its portable zip and its per-user installer
# (cmake/Packaging.cmake, packaging/), puts each build's debug information beside them, and
# writes SHA256SUMS over the six files. The files take
# their dates from the last commit, so the same commit gives the same bytes anywhere.
#   usage: scripts/package.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root="$top/build/release"
dist="$top/dist"
start=$SECONDS

bash "$top/scripts/install-deps.sh"
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
  echo "package: warning: uncommitted changes; the files are not those of commit $(git -C "$top" rev-parse --short HEAD)" >&2
fi
bash "$top/scripts/configure.sh" "$root" win64 win32
rm -rf "$dist"
mkdir -p "$dist"
for build in win64 win32; do
  # Made afresh, so that they carry the current commit's date.
  rm -rf "$root/$build/dist"
  cmake --build "$root/$build" --target oktalon_release
  cp "$root/$build/dist/"*.zip "$root/$build/dist/"*-setup.exe "$root/$build/dist/"*.debug "$dist/"
done
(cd "$dist" && sha256sum -- *.zip *-setup.exe *.debug >SHA256SUMS)

echo "== dist/ ($(git -C "$top" rev-parse --short HEAD)), made in $((SECONDS - start)) s:"
(cd "$dist" && ls -l -- *)
