#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it installs:
#   scripts/check_package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$scratch/root"
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ */  depends: /'

fail=0
expect() { [[ -e "$scratch/root/$1" ]] || { echo "missing: /$1" >&2; fail=1; }; }
expect usr/bin/quadrivo
expect usr/share/applications/de.velmarin.quadrivo.desktop
expect usr/share/metainfo/de.velmarin.quadrivo.metainfo.xml
expect usr/share/icons/hicolor/32x32/apps/de.velmarin.quadrivo.png
expect usr/share/icons/hicolor/128x128/apps/de.velmarin.quadrivo.png
expect usr/share/icons/hicolor/scalable/apps/de.velmarin.quadrivo.svg
[[ -x "$scratch/root/usr/bin/quadrivo" ]] || { echo "quadrivo is not executable" >&2; fail=1; }
desktop-file-validate "$scratch/root/usr/share/applications/de.velmarin.quadrivo.desktop" || fail=1
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/de.velmarin.quadrivo.metainfo.xml" || fail=1
[[ "$(file -b --mime-type "$scratch/root/usr/share/icons/hicolor/32x32/apps/de.velmarin.quadrivo.png")" == image/png ]] || fail=1
identify -format '%wx%h\n' "$scratch/root/usr/share/icons/hicolor/32x32/apps/de.velmarin.quadrivo.png" | grep -qx 32x32 \
    || { echo "the 32x32 icon is not 32x32" >&2; fail=1; }
for dep in libqt6widgets6 libjpeg62-turbo fonts-liberation qt6-translations-l10n; do
    dpkg-deb -f "$deb" Depends | grep -q "$dep" || { echo "no dependency on $dep" >&2; fail=1; }
done
[[ $fail -eq 0 ]] && echo "package check: passed" || { echo "package check: FAILED" >&2; exit 1; }
