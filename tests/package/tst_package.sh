#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks
# what a user gets: the files, the dependencies, and a launcher that makes
# the user's working folder without ever overwriting the user's files.
set -euo pipefail

build_dir=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build_dir" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$work"/out/brenzo_*_amd64.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no brenzo_<version>_amd64.deb was made"
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libqt6network6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in \
    usr/bin/brenzo \
    usr/libexec/brenzo/brenzo \
    usr/share/applications/brenzo.desktop \
    usr/share/icons/hicolor/48x48/apps/brenzo.png \
    usr/share/icons/hicolor/scalable/apps/brenzo.svg \
    usr/share/brenzo/BRENZO.HLP \
    usr/share/brenzo/boton_brenzo.gif \
    usr/share/brenzo/fondo_blanco.jpg usr/share/brenzo/fondo_noche.jpg \
    usr/share/brenzo/fondo_cielo.jpg usr/share/brenzo/fondo_rojo.jpg \
    usr/share/brenzo/fondo_verde.jpg usr/share/brenzo/fondo_amarillo.jpg; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
[ -x "$root/usr/bin/brenzo" ] || fail "the launcher is not executable"
grep -q '^Exec=brenzo$' "$root/usr/share/applications/brenzo.desktop" || fail "the menu entry does not run brenzo"
grep -q '^Icon=brenzo$' "$root/usr/share/applications/brenzo.desktop" || fail "the menu entry has no icon"

# First start: the working folder is made with the media files.
home="$work/home"
mkdir -p "$home"
HOME="$home" "$root/usr/bin/brenzo" --prepare-only
folder="$home/Brenzo"
for name in BRENZO.HLP boton_brenzo.gif fondo_blanco.jpg fondo_amarillo.jpg; do
    cmp -s "$folder/$name" "$root/usr/share/brenzo/$name" || fail "$name was not copied into ~/Brenzo"
done

# Second start: a file the user changed stays as it is; a removed one comes back.
echo "la foto de Ana" >"$folder/fondo_blanco.jpg"
rm "$folder/boton_brenzo.gif"
HOME="$home" "$root/usr/bin/brenzo" --prepare-only
[ "$(cat "$folder/fondo_blanco.jpg")" = "la foto de Ana" ] || fail "a second start overwrote the user's file"
[ -f "$folder/boton_brenzo.gif" ] || fail "a second start did not restore the badge"

# The program itself starts from the launcher and keeps running.
status=0
HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/brenzo" >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/run.log"; fail "the program ended at once (status $status)"; }
echo "package checks passed"
