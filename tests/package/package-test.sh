#!/usr/bin/env bash
# The Debian package as a user receives it: built by CPack from this build as `make package` builds it, checked
# (control fields, the dependencies dpkg-shlibdeps found, the file list, the desktop entry, the metainfo, the
# icons and the manual page), installed with dpkg into a fresh root, and the installed program started offscreen
# to its main menu and ended, once with the default folders and once with XDG folders that cannot be used.
#
#   package-test.sh BUILD_DIR SOURCE_DIR
#
# The default data comes from this build's data kit, with one second of each piece of music, so that the test
# stays quick; the release package carries the whole music.
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$build/package-test
root=$work/root
rm -rf "$work" "$build/package-data"
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_DOCUMENTS_DIR XDG_RUNTIME_DIR

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_line() { # FILE LINE: the file holds the line exactly
  grep -qxF -- "$2" "$1" || fail "$(basename "$1") lacks the line \"$2\""
}

# The data and the package.
"$build/bin/vellora-datakit" --src "$source/data-src" --out "$build/package-data" --music-seconds 1 \
  >"$work/datakit.log" 2>&1 || { cat "$work/datakit.log"; exit 1; }
(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$work/out/vellora_${version}_amd64.deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no vellora_${version}_amd64.deb" >&2; exit 1; }

# Control fields.
[ "$(dpkg-deb -f "$deb" Package)" = vellora ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libsdl2-mixer-2.0-0 libavcodec libheif1 \
  libisofs6 libmp3lame0 libsane1 libc6 qt6-qpa-plugins; do
  [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# The file list, exactly.
# The kit names each design file after the design; it lists the ones it wrote.
designs=$(sed 's|^|./usr/share/vellora/designs/|' "$build/package-data/designs/.datakit-designs")
[ "$(echo "$designs" | wc -l)" -eq "$(ls "$source/data-src/designs/"*.json | wc -l)" ] ||
  fail "not one design file for each design source"
[ -s "$build/package-data/designs/.datakit-designs" ] || fail "no design was written"

{
  echo ./usr/bin/vellora
  echo ./usr/bin/vellora-cli
  echo ./usr/lib/vellora/libtwain_32.so
  echo ./usr/share/applications/vellora.desktop
  for size in 16 22 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/vellora.png"; done
  echo ./usr/share/man/man1/vellora-cli.1.gz
  echo ./usr/share/metainfo/org.vellora.Vellora.metainfo.xml
  for name in main music speaker studio; do echo "./usr/share/vellora/data/$name.evb"; done
  echo "$designs"
} | LC_ALL=C sort >"$work/expected-files"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort >"$work/files"
diff -u "$work/expected-files" "$work/files" || fail "the package's file list differs (above)"

# Installed with dpkg into a fresh root of its own.
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null -i "$deb" \
  >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
[ "$(dpkg-query --root="$root" -W -f='${Status}' vellora)" = "install ok installed" ] || fail "dpkg does not list it"

# What the desktop reads.
desktop-file-validate "$root/usr/share/applications/vellora.desktop" || fail "desktop-file-validate"
expect_line "$root/usr/share/applications/vellora.desktop" "Categories=Graphics;Photography;"
expect_line "$root/usr/share/applications/vellora.desktop" "Exec=vellora"
expect_line "$root/usr/share/applications/vellora.desktop" "Icon=vellora"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/org.vellora.Vellora.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/vellora.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "icon $size: $(file -b "$icon")"
done
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$root/usr/share/man/man1/vellora-cli.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"
zcat "$root/usr/share/man/man1/vellora-cli.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "the manual page's exit codes"

# The installed program, started to its main menu with the default folders. The offscreen screen is 800 x 600
# unless told otherwise, too small for the program's panel.
echo '{"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1280, "height": 1024}]}' >"$work/screen.json"
start() { # NAME, then environment assignments: runs vellora --check-startup with a home of its own
  local name=$1
  shift
  local status=0
  env HOME="$work/$name" QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" "$@" \
    timeout 300 "$root/usr/bin/vellora" --check-startup >"$work/$name.out" 2>"$work/$name.err" || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$work/$name.out" "$work/$name.err"
    fail "$name: the program ended with status $status"
  fi
}
design_count=$(echo "$designs" | wc -l)
mkdir -p "$work/plain/.local/share/vellora/designs" "$work/runtime"
chmod 700 "$work/runtime"
start plain XDG_RUNTIME_DIR="$work/runtime"
out=$work/plain.out
expect_line "$out" "layout installed"
expect_line "$out" "data $root/usr/share/vellora/data/"
expect_line "$out" "designs $root/usr/share/vellora/designs/"
expect_line "$out" "user-designs $work/plain/.local/share/vellora/designs/"
expect_line "$out" "projects $work/plain/Documents/Vellora/"
expect_line "$out" "settings $work/plain/.config/vellora/"
expect_line "$out" "studio-record $work/plain/.local/share/vellora/studio.evd"
expect_line "$out" "designs-offered $design_count"
expect_line "$out" "main menu shown"
grep -q "^temporary $work/runtime/vellora-[0-9]*-......\/$" "$out" || fail "no private folder in the runtime folder"
[ -d "$work/plain/Documents/Vellora" ] || fail "the projects folder was not created"
[ -z "$(ls -A "$work/runtime")" ] || fail "the private temporary folder is left behind"
[ "$(ls "$root/usr/bin")" = "$(printf 'vellora\nvellora-cli')" ] || fail "something was written beside the program"
! grep -q '^vellora:' "$work/plain.err" || { cat "$work/plain.err"; fail "the plain start has something to say"; }

# Folders that cannot be used, the documents folder from user-dirs.dirs, a user's design and a damaged one.
home=$work/xdg
mkdir -p "$home/.config" "$home/.local/share/vellora/designs"
echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$home/.config/user-dirs.dirs"
echo "not a folder" >"$work/plain-file"
first_design=$(ls "$root/usr/share/vellora/designs" | head -1)
cp "$root/usr/share/vellora/designs/$first_design" "$home/.local/share/vellora/designs/Mine.evl"
echo "garbage" >"$home/.local/share/vellora/designs/Broken.evl"
start xdg XDG_DATA_HOME="$work/plain-file/data" XDG_RUNTIME_DIR="$work/plain-file/run"
out=$work/xdg.out
expect_line "$out" "projects $home/Dokumente/Vellora/"
expect_line "$out" "user-designs $home/.local/share/vellora/designs/"
expect_line "$out" "designs-offered $((design_count + 1))"
expect_line "$out" "main menu shown"
refused() { # VARIABLE FOLDER USED: the one message for a folder that cannot be used
  echo "vellora: cannot use the folder \"$2\" ($1), using \"$3\" instead"
}
expect_line "$work/xdg.err" "$(refused XDG_DATA_HOME "$work/plain-file/data/vellora/" "$home/.local/share/vellora/")"
expect_line "$work/xdg.err" "$(refused XDG_RUNTIME_DIR "$work/plain-file/run/" "${TMPDIR:-/tmp}/")"
grep -q "^vellora: the design \"$home/.local/share/vellora/designs/Broken.evl\" is left out: " "$work/xdg.err" ||
  fail "no note for the damaged design"
[ "$(grep -c '^vellora:' "$work/xdg.err")" -eq 3 ] || { cat "$work/xdg.err"; fail "not one message each"; }

# The installed command-line tool reads the installed data.
HOME=$work/plain "$root/usr/bin/vellora-cli" dump --as branding "$root/usr/share/vellora/data/main.evb" \
  >"$work/cli.out" 2>&1 || { cat "$work/cli.out"; fail "vellora-cli dump"; }
grep -q '^helptexts ' "$work/cli.out" || fail "vellora-cli printed no help texts"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; the files are in $work" >&2
  exit 1
fi
rm -rf "$work" "$build/package-data"
echo "package: $(basename "$deb") installs and starts"
