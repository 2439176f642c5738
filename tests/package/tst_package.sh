#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, unpacks it into a temporary root and checks
# what a user gets: a package lintian finds nothing wrong with, the files,
# the metainfo, the dependencies, and a launcher that makes the user's
# working folder without ever overwriting the user's files.
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

# Debian's own checks: no error and no warning. A tag that is wrong for this
# package would be overridden in the package, with the reason beside it.
lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -E '^[EW]: ' "$work/lintian.log" >/dev/null; then
    fail "lintian reports errors or warnings"
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libqt6network6 libqt6gui6 libqt6core6 libexiv2-27 \
    qt6-qpa-plugins fonts-liberation; do
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
    usr/share/metainfo/example.brenzo.brenzo.metainfo.xml \
    usr/share/doc/brenzo/copyright usr/share/doc/brenzo/changelog.gz \
    usr/share/man/man1/brenzo.1.gz \
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

# Software centres read the metainfo; it names the menu entry it belongs to.
appstreamcli validate --no-net "$root/usr/share/metainfo/example.brenzo.brenzo.metainfo.xml" ||
    fail "the AppStream metainfo does not validate"
grep -q '<launchable type="desktop-id">brenzo.desktop</launchable>' \
    "$root/usr/share/metainfo/example.brenzo.brenzo.metainfo.xml" || fail "the metainfo names no menu entry"

# Help and version are printed without a window and without a folder.
home="$work/home"
mkdir -p "$home"
HOME="$home" env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/brenzo" --help >"$work/help.txt" ||
    fail "brenzo --help failed"
grep -q '^Uso: brenzo' "$work/help.txt" || fail "brenzo --help printed no usage"
[ "$(HOME="$home" "$root/usr/bin/brenzo" --version)" = "brenzo 4.2.0" ] || fail "brenzo --version"
[ ! -e "$home/Brenzo" ] || fail "brenzo --help made the working folder"

# First start: the working folder is made with the media files.
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

# A named folder is found from where the command runs ("." is that folder)
# and prepared the same way; "--" ends the options. The page is then
# published from it, background and badge included.
mkdir "$work/-mi sitio" "$work/otro"
echo "mi fondo" >"$work/otro/fondo_rojo.jpg"
(cd "$work" && HOME="$home" "$root/usr/bin/brenzo" --prepare-only -- "-mi sitio")
(cd "$work/otro" && HOME="$home" "$root/usr/bin/brenzo" --prepare-only .)
for file in "$root"/usr/share/brenzo/*; do
    cmp -s "$file" "$work/-mi sitio/${file##*/}" || fail "${file##*/} was not copied into a named folder"
    [ -f "$work/otro/${file##*/}" ] || fail "${file##*/} was not copied into the current folder"
done
[ "$(cat "$work/otro/fondo_rojo.jpg")" = "mi fondo" ] || fail "preparing . overwrote the user's file"
HOME="$home" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null/no-bus \
    "$build_dir/tests/publish/publish_folder" "$work/-mi sitio" || fail "publishing from a named folder failed"

# A folder that does not exist, an unknown option, a folder name that is not
# UTF-8 or a BRENZO_FOLDER that is not absolute is refused in one line with
# status 2; Qt's own options are not unknown.
refused() { # expected message, arguments...
    local expected=$1 status=0
    shift
    HOME="$home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/brenzo" "$@" 2>"$work/err.log" || status=$?
    [ "$status" -eq 2 ] || fail "brenzo $* ended with status $status, not 2"
    [ "$(grep -c '^brenzo: ' "$work/err.log")" -eq 1 ] && grep -q "^brenzo: $expected" "$work/err.log" ||
        { cat "$work/err.log"; fail "brenzo $* did not say: $expected"; }
}
refused "no existe la carpeta" "$work/ninguna"
refused "opción desconocida: --bogus" -style fusion --bogus
mkdir "$work/$(printf 'mal\377')"
refused "el nombre de la carpeta no es UTF-8 válido" "$work/$(printf 'mal\377')"
BRENZO_FOLDER=-x refused "BRENZO_FOLDER no es una ruta absoluta"

# The program itself starts from the launcher, is given the folder's
# absolute path, and keeps running.
starts() { # folder expected, arguments...
    local expected=$1 program running=0 arguments
    shift
    HOME="$home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/brenzo" "$@" >"$work/run.log" 2>&1 &
    program=$!
    for _ in $(seq 30); do
        grep -q libexec "/proc/$program/cmdline" 2>/dev/null && break
        sleep 0.1
    done
    arguments=$(tr '\0' '\n' <"/proc/$program/cmdline" 2>/dev/null || true)
    sleep 1
    kill -0 "$program" 2>/dev/null && running=1
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    [ "$running" -eq 1 ] || { cat "$work/run.log"; fail "brenzo $* ended at once"; }
    [ "$(tail -n1 <<<"$arguments")" = "$expected" ] || fail "brenzo $* did not give the program $expected"
}
starts "$folder"
(cd "$work" && starts "$work/-mi sitio" -style fusion -- "-mi sitio")
echo "package checks passed"
