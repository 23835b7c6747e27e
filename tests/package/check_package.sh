#!/usr/bin/env bash
# Packs the build tree BUILD_DIR as a Debian package (cpack -G DEB) and
# checks what a user installs: the dependencies name Qt, the maintainer is a
# real address, the programs are stripped (their symbols in the -dbgsym
# package), both print their version without a window, the manual page, the
# copyright file, a menu entry that desktop-file-validate passes without a
# word, and the demo measurements that the first start copies to ~/ZEPHALO.
#     tests/package/check_package.sh BUILD_DIR
set -uo pipefail
build=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; echo "FAIL: cpack -G DEB"; exit 1; }
version=$("$build/src/zephalo-cli" --version | sed -n 's/^zephalo-cli //p')
deb=$scratch/out/zephalo_${version}_amd64.deb
dbgsym=$(ls "$scratch"/out/zephalo-dbgsym_"${version}"_amd64.*deb 2>/dev/null | head -1)
[ -f "$deb" ] || { ls "$scratch/out"; echo "FAIL: no $deb"; exit 1; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6svg6 qt6-qpa-plugins libqcustomplot; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
maintainer=$(field Maintainer)
grep -Eq '^[^<>]*[[:alnum:]][^<>]* <[^<>@ ]+@[^<>@ ]+\.[[:alpha:]]+>$' <<<"$maintainer" ||
  fail "Maintainer is not \"Name <address>\": $maintainer"
grep -qi 'localhost' <<<"$maintainer" && fail "Maintainer is a local address: $maintainer"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version), the program says $version"
[ "$(field Section)" = science ] || fail "Section $(field Section)"
grep -q "version: \"$version\"" "$source_dir/CITATION.cff" || fail "CITATION.cff names another version"

# The installed tree.
root=$scratch/root
dpkg -x "$deb" "$root"
for f in usr/bin/zephalo usr/bin/zephalo-cli usr/bin/zephalo-figure usr/share/doc/zephalo/copyright \
  usr/share/man/man1/zephalo-cli.1.gz usr/share/applications/zephalo.desktop \
  usr/share/icons/hicolor/64x64/apps/zephalo.png; do
  [ -s "$root/$f" ] || fail "missing /$f"
done
for program in zephalo zephalo-cli; do
  description=$(file -b "$root/usr/bin/$program")
  grep -q ', stripped' <<<"$description" || fail "/usr/bin/$program is not stripped: $description"
  shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version)
  [ "$shown" = "$program $version" ] || fail "$program --version printed: $shown"
done
grep -q ', stripped' <<<"$(file -b "$root/usr/bin/zephalo-figure")" ||
  fail "/usr/bin/zephalo-figure is not stripped"
# The debug symbols are optional; when their package is made it must hold them.
if [ -n "$dbgsym" ] && ! dpkg-deb -c "$dbgsym" | grep -q '/usr/lib/debug/.build-id/.*\.debug$'; then
  fail "the zephalo-dbgsym package holds no debug symbols"
fi
zcat "$root/usr/share/man/man1/zephalo-cli.1.gz" | grep -q '^\.TH "\?ZEPHALO-CLI' ||
  fail "the manual page has no title line"
zcat "$root/usr/share/man/man1/zephalo-cli.1.gz" | grep -q 'optimise' ||
  fail "the manual page does not list the commands"
grep -q '^License: GPL-3+' "$root/usr/share/doc/zephalo/copyright" || fail "copyright names no licence"
validated=$(desktop-file-validate "$root/usr/share/applications/zephalo.desktop" 2>&1)
[ -z "$validated" ] || fail "desktop-file-validate: $validated"

# The demo of the README, and its copy on the first start of the installed
# program (offscreen; stopped once the copy is there).
demo_files=(Fe2O3_ConvXAFS.DAT Fe2O3_XRF_Kbeta.DAT Fe2O3_RIXS_7114eV.DAT Fe2O3.xspec)
for f in "${demo_files[@]}"; do
  grep -q "$f" "$source_dir/README.md" || fail "README does not name $f"
  cmp -s "$source_dir/data/demo/$f" "$root/usr/share/zephalo/demo/$f" ||
    fail "/usr/share/zephalo/demo/$f differs from data/demo"
done
home=$scratch/home
mkdir -p "$home"
HOME=$home ZEPHALO_WORK_SPACE=$home/ws QT_QPA_PLATFORM=offscreen \
  "$root/usr/bin/zephalo" >"$scratch/gui.log" 2>&1 &
gui=$!
for _ in $(seq 300); do
  [ -e "$home/ZEPHALO/Fe2O3.xspec" ] && break
  kill -0 "$gui" 2>/dev/null || break
  sleep 0.1
done
kill "$gui" 2>/dev/null
wait "$gui" 2>/dev/null
for f in "${demo_files[@]}"; do
  cmp -s "$source_dir/data/demo/$f" "$home/ZEPHALO/$f" || fail "first start: ~/ZEPHALO/$f missing"
done

# The installed zephalo-cli draws a figure through the figure program beside
# it, without a display.
cli=$root/usr/bin/zephalo-cli
demo=$root/usr/share/zephalo/demo
export ZEPHALO_WORK_SPACE=$scratch/figure
story_ok=1
story() { env -u DISPLAY -u WAYLAND_DISPLAY "$cli" "$@" >>"$scratch/story.log" 2>&1 || story_ok=0; }
story create
story import conv-xafs "$demo/Fe2O3_ConvXAFS.DAT"
story import xrf "$demo/Fe2O3_XRF_Kbeta.DAT"
story import rixs "$demo/Fe2O3_RIXS_7114eV.DAT"
story import selective "$demo/Fe2O3.xspec"
story edge --edge "Fe K-edge"
story xrf --A 7046,0.967,12 --B 7054.1,0.447,7.07 --C 7057.3,0.271,2.22 --D 7058.4,0.025,0.427 --store
story load-selective
story finish
story compute --omega 7114
if ((story_ok)); then
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$cli" figure theory \
    --out "$scratch/theory.svg" >"$scratch/figure.log" 2>&1 ||
    fail "installed zephalo-cli figure: $(cat "$scratch/figure.log")"
  grep -q '</svg>' "$scratch/theory.svg" 2>/dev/null || fail "installed zephalo-cli figure wrote no SVG"
else
  fail "the demo steps before the figure failed with the installed zephalo-cli: $(cat "$scratch/story.log")"
fi
unset ZEPHALO_WORK_SPACE

if ((failures)); then
  echo "$failures package check(s) failed"
  exit 1
fi
echo "zephalo_${version}_amd64.deb: all package checks passed"
