#!/usr/bin/env bash
# test-package.sh BUILD_DIR: takes the Debian package in BUILD_DIR/dist (scripts/package
# and scripts/test build it; it is built here when missing or older than what it
# holds), unpacks it into a temporary root with dpkg -x and runs the programs from
# there: rxt4 --help, rxt4 list and rxt4 check on a sample folder, and the viewer offscreen, started by
# the desktop entry's Exec line. The desktop entry and the AppStream metainfo must pass
# their validators. Exit status 77 (skipped) without dpkg-deb.
set -euo pipefail
build="$1"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v dpkg-deb > /dev/null || { echo "dpkg-deb is missing: skipped"; exit 77; }
work="$(mktemp -d "${TMPDIR:-/tmp}/rxt4-package-test.XXXXXX")"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

deb="$(ls -t "$build"/dist/rxt4-viewer_*.deb 2> /dev/null | head -n 1 || true)"
if [[ -z "$deb" || -n "$(find "$build"/bin/rxt4{,-sim,-viewer} "$build/man" "$build/icons" "$build/CPackConfig.cmake" "$source_dir" \
                              -newer "$deb" -type f -print -quit)" ]]; then
  echo "building the package"
  cpack --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
  deb="$(ls -t "$build"/dist/rxt4-viewer_*.deb | head -n 1)"
fi
dpkg-deb --info "$deb"
depends="$(dpkg-deb --field "$deb" Depends)"
for needed in libc6 libqt6widgets6 fonts-ipafont-gothic fonts-noto-cjk libqt6svg6 qt6-translations-l10n; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed"
done

root="$work/root"
dpkg -x "$deb" "$root"
bin="$root/usr/bin"
share="$root/usr/share"
for file in "$bin/rxt4-viewer" "$bin/rxt4" "$bin/rxt4-sim" \
    "$share/man/man1/rxt4-viewer.1.gz" "$share/man/man1/rxt4.1.gz" "$share/man/man1/rxt4-sim.1.gz" \
    "$share/icons/hicolor/scalable/apps/rxt4-viewer.svg" "$share/icons/hicolor/48x48/apps/rxt4-viewer.png" \
    "$share/doc/rxt4-viewer/guide.md" "$share/doc/rxt4-viewer/guide/viewer.png" "$share/doc/rxt4-viewer/copyright" \
    "$share/rxt4-viewer/limits/outlet.toml" "$share/rxt4-viewer/limits/receiver-minimum.toml"; do
  [[ -f "$file" ]] || fail "missing ${file#"$root"}"
done
zcat "$share/man/man1/rxt4.1.gz" | grep -q '^\.SS "rxt4 udev-rule"' || fail "rxt4.1 lacks the commands' help"

LC_ALL=C.UTF-8 "$bin/rxt4" --help | grep -q '^使い方: rxt4 コマンド' || fail "rxt4 --help (Japanese)"
LC_ALL=en_US.UTF-8 "$bin/rxt4" --help | grep -q '^Usage: rxt4 COMMAND' || fail "rxt4 --help (English)"
"$bin/rxt4-sim" --version | grep -q '^rxt4-sim (RXT4 Viewer) ' || fail "rxt4-sim --version"
"$bin/rxt4" sample "$work/RXT4"
"$bin/rxt4" list "$work/RXT4" > "$work/list.txt"
[[ "$(head -n 1 "$work/list.txt")" == "レベル測定データ" && "$(wc -l < "$work/list.txt")" -gt 50 ]] ||
  fail "rxt4 list: $(head -n 3 "$work/list.txt")"

# rxt4 check finds the installed default profile beside the program (status 1: the
# demonstration data holds failing readings on purpose).
status=0
XDG_CONFIG_HOME="$work/config" "$bin/rxt4" check "$work/RXT4" > "$work/check.txt" || status=$?
[[ $status -eq 1 && "$(head -n 1 "$work/check.txt")" == "判定基準: テレビ端子 ($share/rxt4-viewer/limits/outlet.toml)" ]] ||
  fail "rxt4 check (status $status): $(head -n 2 "$work/check.txt")"

desktop="$share/applications/org.rxt4.viewer.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/org.rxt4.viewer.metainfo.xml" || fail "appstreamcli validate"
grep -q '<project_license>MIT</project_license>' "$share/metainfo/org.rxt4.viewer.metainfo.xml" || fail "metainfo lacks the MIT licence"
grep -q '^License: Expat$' "$share/doc/rxt4-viewer/copyright" || fail "copyright lacks the MIT (Expat) licence"

# The Exec line as a menu runs it (%f: the chosen folder), the programs found on PATH;
# --quit-after ends the viewer with status 0 only if its main window is showing.
exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
mkdir -m 700 "$work/runtime"
(
  export PATH="$bin:$PATH" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
  cd "$work"
  eval "timeout 60 ${exec_line//%f/RXT4} --quit-after 500"
) || fail "rxt4-viewer from the desktop entry (status $?)"
echo "package test passed: $(basename "$deb")"
