#!/usr/bin/env bash
# Checks the Debian package: its control fields and exact contents, the desktop
# entry, the AppStream metadata and the manual pages, lintian, and that the
# packaged programs run from an unpacked root.
#   package_test.sh --build BUILD_DIR VERSION   makes the package with cpack first
#   package_test.sh PACKAGE.deb VERSION
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

arch=$(dpkg --print-architecture)
if [ "$1" = --build ]; then
  version=$3
  cpack -G DEB --config "$2/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
  deb=$work/out/vidarkon-patch_${version}_${arch}.deb
  [ -f "$deb" ] || { ls "$work/out" >&2; fail "cpack made no vidarkon-patch_${version}_${arch}.deb"; }
else
  deb=$(realpath "$1")
  version=$2
fi
echo "Package: $deb"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vidarkon-patch ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
# dpkg-shlibdeps must have found the libraries the programs are linked against.
depends=$(field Depends)
for library in libc6 libstdc++6 libsqlite3-0 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
done

root=$work/root
dpkg-deb --extract "$deb" "$root"
# Exactly these files, nothing left out and nothing slipped in (tests, renderers, libraries).
expected="usr/bin/vidarkon-patch
usr/bin/vidarkon-patch-cli
usr/bin/vidarkon-sample
usr/share/applications/vidarkon-patch.desktop
usr/share/doc/vidarkon-patch/changelog.gz
usr/share/doc/vidarkon-patch/copyright
usr/share/icons/hicolor/16x16/apps/vidarkon-patch.png
usr/share/icons/hicolor/32x32/apps/vidarkon-patch.png
usr/share/icons/hicolor/48x48/apps/vidarkon-patch.png
usr/share/icons/hicolor/scalable/apps/vidarkon-patch.svg
usr/share/man/man1/vidarkon-patch-cli.1.gz
usr/share/man/man1/vidarkon-patch.1.gz
usr/share/man/man1/vidarkon-sample.1.gz
usr/share/metainfo/pl.vidarkon.patch.metainfo.xml"
actual=$(cd "$root" && find . -type f -printf '%P\n' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "contents differ from the expected list:
$(diff <(echo "$expected") <(echo "$actual") || true)"

for size in 16 32 48; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/vidarkon-patch.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}x${size} icon is not a $size px PNG"
done
for program in vidarkon-patch vidarkon-patch-cli vidarkon-sample; do
  if ldd "$root/usr/bin/$program" | grep 'not found'; then fail "$program: libraries not found"; fi
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$program.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page of $program: $warnings"
done

desktop=$root/usr/share/applications/vidarkon-patch.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_program" ] || fail "the desktop entry starts $exec_program, which the package lacks"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon $icon is not in the package"
appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli validate-tree"

# No errors; warnings are printed for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"

# The packaged programs, with the system's libraries only.
bin=$root/usr/bin
"$bin/vidarkon-patch-cli" --help >"$work/help.txt" || fail "vidarkon-patch-cli --help"
grep -q '^Użycie: vidarkon-patch-cli' "$work/help.txt" || fail "vidarkon-patch-cli --help: $(cat "$work/help.txt")"
folder=$work/catalogues
mkdir "$folder"
"$bin/vidarkon-sample" --level ready-yesno --films 30 --loans 10 "$folder/stara.mdb"
"$bin/vidarkon-sample" --level upgraded --films 30 --loans 10 "$folder/nowa.mdb"
"$bin/vidarkon-patch-cli" --check "$folder" >"$work/check.txt" || { cat "$work/check.txt" >&2; fail "--check before"; }
grep -qx 'stara.mdb: wymaga uaktualnienia' "$work/check.txt" || fail "--check before: $(cat "$work/check.txt")"
grep -qx 'nowa.mdb: już uaktualniona' "$work/check.txt" || fail "--check before: $(cat "$work/check.txt")"
"$bin/vidarkon-patch-cli" "$folder" >"$work/run.txt" || { cat "$work/run.txt" >&2; fail "the upgrade"; }
"$bin/vidarkon-patch-cli" --check "$folder" >"$work/check.txt" || { cat "$work/check.txt" >&2; fail "--check after"; }
[ "$(grep -c ': już uaktualniona$' "$work/check.txt")" = 2 ] || fail "--check after: $(cat "$work/check.txt")"
echo "The package is complete and its programs run."
