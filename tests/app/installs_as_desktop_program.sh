#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what desktops look
# for: the program in bin/, a valid menu entry and a scalable icon.
set -u
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "$*"; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
entry=$prefix/share/applications/korven.desktop
[ -x "$prefix/bin/korven" ] || fail "no bin/korven"
[ -f "$prefix/share/icons/hicolor/scalable/apps/korven.svg" ] || fail "no scalable icon"
[ -f "$entry" ] || fail "no menu entry"
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
for line in 'Exec=korven %f' 'Icon=korven' 'MimeType=image/bmp;image/jpeg;image/png;'; do
  grep -qxF "$line" "$entry" || fail "the entry lacks $line"
done
grep -q '^Categories=.*Graphics;.*Photography;' "$entry" || fail "the entry's categories"
echo "installed layout: ok"
