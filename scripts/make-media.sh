#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates Brenzo's media files and wizard artwork.
#
#   media/               page backgrounds and the "Brenzo" web badge
#   media/samples/       sample pictures, sounds and text for trying the pages
#   wizard/art/          icons and decorations compiled into the program
#
# Everything is drawn from scratch with ImageMagick 6 (/usr/bin/convert) and
# python3 (standard library only), with fixed random seeds, so two runs give
# byte-identical files.  The generated files are committed: building Brenzo
# never needs this script.
#
# Usage:  scripts/make-media.sh [TARGET]
#   TARGET is all (the default), textures, icons, app, banner, programs, badge,
#   samples, photos, gifs, sounds or text.

set -euo pipefail

IM=/usr/bin/convert
PY=/usr/bin/python3
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MEDIA=$ROOT/media
SAMPLES=$MEDIA/samples
ART=$ROOT/wizard/art

FONT_DIR=/usr/share/fonts/truetype/dejavu
FONT_BOLD=$FONT_DIR/DejaVuSans-Bold.ttf
FONT_COND_BOLD=$FONT_DIR/DejaVuSansCondensed-Bold.ttf

for tool in "$IM" "$PY"; do
    [ -x "$tool" ] || { echo "make-media: $tool is missing" >&2; exit 1; }
done
for f in "$FONT_BOLD" "$FONT_COND_BOLD"; do
    [ -r "$f" ] || { echo "make-media: font $f is missing (apt-get install fonts-dejavu-core)" >&2; exit 1; }
done

# Keep the output independent of the machine's locale and time.
export LC_ALL=C.UTF-8 TZ=UTC
export MAGICK_THREAD_LIMIT=1          # identical noise/blur results on any CPU count

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

mkdir -p "$MEDIA" "$SAMPLES" "$ART"

# Output options: no metadata, no time stamps.
# shellcheck disable=SC2054  # the commas belong to ImageMagick options
PNG_OPTS=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9)
JPG_OPTS=(-strip -interlace none -type TrueColor -sampling-factor 2x2)
GIF_OPTS=(-strip)

# ---------------------------------------------------------------------------
# Palette shared by all the artwork (flat colours, soft dark-blue outline).
OUT='#2E3F5E'        # outline
BLUE='#3E8EDE'
BLUE_D='#2A6DB5'
BLUE_L='#A8D4F6'
GREEN='#45B06A'
YEL='#F7C548'
YEL_D='#E3A92C'
YEL_L='#FFF1B3'
ORA='#F0913A'
RED='#E0524A'
RED_D='#B93A33'
PINK='#F4A3A0'
PAPER='#FFFFFF'
PAPER_2='#EEF3F8'
GREY='#A9B4C0'
GREY_L='#D5DCE4'
BROWN='#C0834C'

# ---------------------------------------------------------------------------
# render_icon SIZE OUTFILE MVGFILE
# The MVG drawing uses a SIZE x SIZE coordinate grid; it is drawn 16 times
# larger and box-averaged down, which gives clean anti-aliasing and keeps
# edges placed on .5 coordinates sharp.
# An optional fifth argument draws the icon that many times larger, for
# screens of high density (NAME@2x.png beside NAME.png).
render_icon() {
    local size=$1 out=$2 mvg=$3 k=${4:-16} times=${5:-1}
    local big=$((size * k)) final=$((size * times))
    "$IM" -size ${big}x${big} xc:none \
        -draw "affine $k,0,0,$k,0,0 $(cat "$mvg")" \
        -scale "${final}x${final}" "${PNG_OPTS[@]}" PNG32:"$out"
}

# icon SIZE NAME   (MVG on standard input)  -> wizard/art/NAME.png
icon() {
    cat > "$TMP/icon.mvg"
    render_icon "$1" "$ART/$2.png" "$TMP/icon.mvg"
    render_icon "$1" "$ART/$2@2x.png" "$TMP/icon.mvg" 16 2
}

# ---------------------------------------------------------------------------
# Seamless textures.  Everything that has structure is either built from
# noise blurred with wrap-around edges (-virtual-pixel tile) or from
# patterns whose period divides the tile size, so the tiles join invisibly.

# noise_tile W H SEED BLUR OUT : grey noise, wrap-around blurred, stretched
noise_tile() {
    "$IM" -seed "$3" -size "$1x$2" xc:gray50 +noise Random -channel G -separate +channel \
        -virtual-pixel tile -blur "0x$4" -normalize "$5"
}

# mix OUT IMG1 W1 IMG2 W2 [IMG3 W3]: weighted sum of grey layers (weights in %)
mix() {
    local out=$1; shift
    local args=() expr="" n=0
    while [ $# -gt 0 ]; do
        args+=("$1"); expr+="${expr:++}$2/100*u[$n]"; n=$((n + 1)); shift 2
    done
    "$IM" "${args[@]}" -fx "$expr" "$out"
}

make_textures() {
    local T=128 t=$TMP

    # White paper: fine grain, soft clouds and faint fibres.
    paper_tile() {   # SIZE SEED OUT
        local s=$1
        noise_tile "$s" "$s" "$2" 0.5 "$t/p_fine.png"
        noise_tile "$s" "$s" "$(($2 + 1))" 6 "$t/p_cloud.png"
        "$IM" -seed "$(($2 + 2))" -size "${s}x${s}" xc:gray50 +noise Random \
            -channel G -separate +channel -virtual-pixel tile \
            -motion-blur 0x6+25 -normalize "$t/p_fibre.png"
        mix "$t/p_mix.png" "$t/p_fine.png" 55 "$t/p_cloud.png" 25 "$t/p_fibre.png" 20
        "$IM" "$t/p_mix.png" -normalize +level 91%,100% "$3"
    }
    paper_tile $T 11 "$t/blanco.png"
    "$IM" "$t/blanco.png" "${JPG_OPTS[@]}" -quality 88 "$MEDIA/fondo_blanco.jpg"
    paper_tile 100 11 "$t/muestra.png"
    "$IM" "$t/muestra.png" -colorspace gray -depth 8 "${PNG_OPTS[@]}" "$ART/muestra_blanco.png"

    # Night: almost black with a faint blue haze, sparse faint stars and a
    # few brighter ones (placed away from the edges, so nothing is cut).
    noise_tile $T $T 21 10 "$t/n_cloud.png"
    "$IM" "$t/n_cloud.png" +level-colors '#010103,#07091A' "$t/n_base.png"
    "$IM" -seed 22 -size ${T}x${T} xc:gray50 +noise Random -channel G -separate +channel \
        -threshold 99.6% "$t/n_mask.png"
    "$IM" -seed 23 -size ${T}x${T} xc:gray50 +noise Random -channel G -separate +channel \
        -normalize +level 20%,70% "$t/n_bright.png"
    "$IM" "$t/n_mask.png" "$t/n_bright.png" -compose multiply -composite "$t/n_stars.png"
    "$IM" -size ${T}x${T} xc:black -fill '#FFF4D6' \
        -draw 'circle 17,23 17,24.1  circle 93,14 93,15  circle 61,71 61,72.2
               circle 112,97 112,98  circle 30,110 30,111  circle 78,120 78,120.9' \
        -fill '#8A8C9A' -draw 'point 17,21 point 17,25 point 15,23 point 19,23
               point 61,69 point 61,73 point 59,71 point 63,71' \
        "$t/n_big.png"
    "$IM" "$t/n_base.png" \
        \( "$t/n_stars.png" -fill '#DDE4FF' -tint 100 \) -compose screen -composite \
        "$t/n_big.png" -compose screen -composite "$t/noche.png"
    "$IM" "$t/noche.png" "${JPG_OPTS[@]}" -sampling-factor 1x1 -quality 90 "$MEDIA/fondo_noche.jpg"

    # Sky: light cyan with soft clouds.
    noise_tile $T $T 31 12 "$t/c_big.png"
    noise_tile $T $T 32 4 "$t/c_mid.png"
    noise_tile $T $T 33 0.5 "$t/c_fine.png"
    mix "$t/c_mix.png" "$t/c_big.png" 60 "$t/c_mid.png" 30 "$t/c_fine.png" 10
    "$IM" "$t/c_mix.png" -normalize +level-colors '#A9EDF3,#EEFFFF' "$t/cielo.png"
    "$IM" "$t/cielo.png" "${JPG_OPTS[@]}" -quality 88 "$MEDIA/fondo_cielo.jpg"

    # Red: maroon basket-weave cloth (blocks of two 4-pixel threads).
    "$IM" -size ${T}x${T} xc:gray50 -fx \
        'qq=(floor(i/8)+floor(j/8))%2; ww=(qq>0.5)?(j%4):(i%4); 0.2+0.8*sin(pi*(ww+0.5)/4)' \
        "$t/r_weave.png"
    noise_tile $T $T 41 0.6 "$t/r_fine.png"
    noise_tile $T $T 42 10 "$t/r_big.png"
    mix "$t/r_mix.png" "$t/r_weave.png" 62 "$t/r_fine.png" 26 "$t/r_big.png" 12
    "$IM" "$t/r_mix.png" -normalize +level-colors '#5E0202,#98140F' "$t/rojo.png"
    "$IM" "$t/rojo.png" "${JPG_OPTS[@]}" -quality 86 "$MEDIA/fondo_rojo.jpg"

    # Green: diagonal twill (period 8 in both directions).
    "$IM" -size ${T}x${T} xc:gray50 -fx '0.5+0.5*sin(2*pi*(i+j)/8)' "$t/v_twill.png"
    noise_tile $T $T 51 0.6 "$t/v_fine.png"
    noise_tile $T $T 52 9 "$t/v_big.png"
    mix "$t/v_mix.png" "$t/v_twill.png" 55 "$t/v_fine.png" 33 "$t/v_big.png" 12
    "$IM" "$t/v_mix.png" -normalize +level-colors '#005E0A,#0A8A1E' "$t/verde.png"
    "$IM" "$t/verde.png" "${JPG_OPTS[@]}" -quality 86 "$MEDIA/fondo_verde.jpg"

    # Yellow: sandy paper grain.
    noise_tile $T $T 61 0.5 "$t/a_fine.png"
    noise_tile $T $T 62 1.5 "$t/a_mid.png"
    noise_tile $T $T 63 10 "$t/a_big.png"
    mix "$t/a_mix.png" "$t/a_fine.png" 50 "$t/a_mid.png" 35 "$t/a_big.png" 15
    "$IM" "$t/a_mix.png" -normalize +level-colors '#F6E95A,#FFFFA8' "$t/amarillo.png"
    "$IM" "$t/amarillo.png" "${JPG_OPTS[@]}" -quality 86 "$MEDIA/fondo_amarillo.jpg"
}

# ---------------------------------------------------------------------------
# Small icons.  Style: flat fills from the palette, 1-pixel soft outline,
# rounded joins.  Compound shapes are drawn in two passes (outline colour
# with a wider stroke, then the fill) so only their outer edge is outlined.

STYLE="stroke-linejoin round stroke-linecap round stroke '$OUT' stroke-width 1"
QFONT="font '$FONT_BOLD'"

make_buttons() {
    # --- 16 x 16 buttons -------------------------------------------------
    icon 16 btn_ayuda <<EOF
$STYLE fill '$BLUE' circle 8,8 8,1.5
stroke none fill white $QFONT font-size 11 text-anchor middle text 8,12.3 '?'
EOF

    icon 16 btn_cancelar <<EOF
$STYLE fill none stroke-width 4.2 line 4,4 12,12 line 12,4 4,12
stroke '$RED' stroke-width 2.2 line 4,4 12,12 line 12,4 4,12
EOF

    icon 16 btn_ninguno <<EOF
$STYLE fill none stroke-width 4 circle 8,8 8,2.5 line 4.2,11.8 11.8,4.2
stroke '$RED' stroke-width 2 circle 8,8 8,2.5 line 4.2,11.8 11.8,4.2
EOF

    icon 16 btn_oir <<EOF
$STYLE fill '$GREY' polygon 1.5,5.5 4.5,5.5 8.5,1.5 8.5,14.5 4.5,10.5 1.5,10.5
fill none stroke '$BLUE' stroke-width 1.4 path 'M 11,5.5 A 3,3 0 0 1 11,10.5' path 'M 12.6,2.6 A 6.5,6.5 0 0 1 12.6,13.4'
EOF

    icon 16 btn_abrir <<EOF
$STYLE fill '$YEL_D' polygon 1.5,2.5 6,2.5 7.5,4.5 13.5,4.5 13.5,13.5 1.5,13.5
fill '$PAPER' rectangle 3.5,5.5 11.5,10.5
fill '$YEL' polygon 4,7.5 15.5,7.5 13.5,13.5 1.5,13.5
EOF

    icon 16 btn_importar <<EOF
$STYLE fill '$PAPER' path 'M 5.5,1.5 H 10.5 L 14.5,5.5 V 14.5 H 5.5 Z'
fill '$GREY_L' path 'M 10.5,1.5 V 5.5 H 14.5 Z'
stroke '$GREY' line 10.5,8.5 12.5,8.5 line 10.5,10.5 12.5,10.5 line 7.5,12.5 12.5,12.5
stroke '$OUT' fill '$OUT' stroke-width 2 polygon 1,7.5 4.5,7.5 4.5,4.5 8.5,9 4.5,13.5 4.5,10.5 1,10.5
stroke none fill '$GREEN' polygon 1,7.5 4.5,7.5 4.5,4.5 8.5,9 4.5,13.5 4.5,10.5 1,10.5
EOF

    icon 16 btn_borrar <<EOF
$STYLE
stroke '$GREY' line 2,14.5 14,14.5
push graphic-context
translate 8,7.5 rotate -45
stroke '$OUT' fill '$PINK' roundrectangle -6.5,-3 6.5,3 1,1
stroke none fill '$RED' path 'M 0,-2.5 H 5.5 Q 6,-2.5 6,-2 V 2 Q 6,2.5 5.5,2.5 H 0 Z'
stroke '$OUT' fill '$BLUE_L' path 'M -6.5,-2 Q -6.5,-3 -5.5,-3 H -1 V 3 H -5.5 Q -6.5,3 -6.5,2 Z'
stroke '$OUT' fill none roundrectangle -6.5,-3 6.5,3 1,1
pop graphic-context
EOF

    icon 16 btn_reiniciar_sel <<EOF
$STYLE fill none stroke-width 3.8 path 'M 6,5.5 H 9 A 4,4 0 0 1 9,13.5 H 5'
fill '$OUT' stroke-width 2 polygon 1.5,5.5 6.5,1.5 6.5,9.5
fill none stroke '$BLUE' stroke-width 1.8 path 'M 6,5.5 H 9 A 4,4 0 0 1 9,13.5 H 5'
fill '$BLUE' stroke none polygon 1.5,5.5 6.5,1.5 6.5,9.5
EOF

    icon 16 btn_ver <<EOF
$STYLE fill '$PAPER' path 'M 0.8,8 Q 8,0.5 15.2,8 Q 8,15.5 0.8,8 Z'
stroke none fill '$BLUE' circle 8,8 11.3,8
fill '$OUT' circle 8,8 9.6,8
fill white circle 9.3,6.7 10,6.7
stroke '$OUT' fill none path 'M 0.8,8 Q 8,0.5 15.2,8 Q 8,15.5 0.8,8 Z'
EOF

    icon 16 btn_ftp <<EOF
$STYLE fill '$GREY_L' rectangle 1.5,10.5 14.5,14.5
fill '$OUT' stroke none circle 12,12.5 12.8,12.5
stroke '$OUT' fill '$GREEN' polygon 8,1.5 13,6.5 10,6.5 10,12.5 6,12.5 6,6.5 3,6.5
EOF

    icon 16 btn_programas <<EOF
$STYLE fill '$RED' roundrectangle 1.5,1.5 6.5,6.5 1,1
fill '$GREEN' roundrectangle 9.5,1.5 14.5,6.5 1,1
fill '$BLUE' roundrectangle 1.5,9.5 6.5,14.5 1,1
fill '$YEL' roundrectangle 9.5,9.5 14.5,14.5 1,1
EOF

    icon 16 btn_web <<EOF
$STYLE fill '$BLUE' circle 8.5,8.5 8.5,2
stroke '$BLUE_L' fill none ellipse 8.5,8.5 2.7,6.5 0,360
line 8.5,2 8.5,15 line 2,8.5 15,8.5
path 'M 3.2,5.5 H 13.8' path 'M 3.2,11.5 H 13.8'
stroke '$OUT' circle 8.5,8.5 8.5,2
EOF

    icon 16 btn_publicar <<EOF
$STYLE fill '$OUT' stroke-width 2 circle 4,9.5 4,6.5 circle 8.5,6.5 8.5,2 circle 12.5,9.5 12.5,6.5 rectangle 4,9 12.5,12.5
stroke none fill '$BLUE_L' circle 4,9.5 4,6.5 circle 8.5,6.5 8.5,2 circle 12.5,9.5 12.5,6.5 rectangle 4,9 12.5,12.5
stroke '$OUT' stroke-width 1 fill '$GREEN' polygon 8.5,6.5 11.5,9.5 10,9.5 10,15 7,15 7,9.5 5.5,9.5
EOF

    icon 16 btn_cerrar <<EOF
$STYLE fill '$YEL_L' rectangle 3.5,1.5 12.5,14.5
fill '$BROWN' polygon 3.5,1.5 9.5,2.8 9.5,15.5 3.5,14.5
fill '$YEL' stroke none circle 8.2,8.8 8.2,8
EOF

    # --- 24 x 24 wizard navigation ---------------------------------------
    icon 24 nav_reiniciar <<EOF
$STYLE fill '$RED_D' rectangle 15.5,3.5 18.5,9.5
fill '$YEL_L' polygon 5.5,11 12,5 18.5,11 18.5,20.5 5.5,20.5
fill '$BLUE' rectangle 10.5,14.5 13.5,20.5
fill '$RED' polygon 1.5,12 12,2.5 22.5,12 20.5,14.5 12,6.8 3.5,14.5
stroke '$OUT' line 3.5,20.5 20.5,20.5
EOF

    icon 24 nav_anterior <<EOF
$STYLE fill '$BLUE' polygon 2.5,12 11.5,3.5 11.5,8.5 21.5,8.5 21.5,15.5 11.5,15.5 11.5,20.5
EOF

    icon 24 nav_siguiente <<EOF
$STYLE fill '$BLUE' polygon 21.5,12 12.5,3.5 12.5,8.5 2.5,8.5 2.5,15.5 12.5,15.5 12.5,20.5
EOF

    icon 24 nav_publicar <<EOF
$STYLE fill '$OUT' stroke-width 2 circle 7,14 7,9 circle 12.5,10 12.5,3.5 circle 18,14.5 18,10 rectangle 7,13 18,19
stroke none fill '$BLUE_L' circle 7,14 7,9 circle 12.5,10 12.5,3.5 circle 18,14.5 18,10 rectangle 7,13 18,19
stroke '$OUT' stroke-width 1 fill '$GREEN' polygon 12.5,8 17.5,13.5 14.5,13.5 14.5,22.5 10.5,22.5 10.5,13.5 7.5,13.5
EOF

    icon 24 nav_ayuda <<EOF
$STYLE fill '$BLUE' circle 12,12 12,2.5
stroke none fill white $QFONT font-size 16 text-anchor middle text 12,17.8 '?'
EOF

    icon 24 nav_salir <<EOF
$STYLE fill '$YEL_L' rectangle 3.5,2.5 13.5,21.5
fill '$BROWN' polygon 3.5,2.5 10.5,4.5 10.5,23 3.5,21.5
fill '$YEL' stroke none circle 9.2,13 9.2,12
stroke '$OUT' fill '$GREEN' polygon 13,9.5 17,9.5 17,6 22.5,12 17,18 17,14.5 13,14.5
EOF
}

# ---------------------------------------------------------------------------
# Application icon: a page of text with a globe.  The same drawing is kept
# as hand-written SVG in wizard/art/brenzo.svg.

APP_PAGE='M 60,20 H 160 L 212,72 V 228 Q 212,236 204,236 H 60 Q 52,236 52,228 V 28 Q 52,20 60,20 Z'
APP_FOLD='M 160,20 V 64 Q 160,72 168,72 H 212 Z'

make_app_icon() {
    cat > "$TMP/app.mvg" <<EOF
stroke-linejoin round stroke-linecap round
stroke '$OUT' stroke-width 8 fill '$PAPER' path '$APP_PAGE'
fill '$GREY_L' path '$APP_FOLD'
fill none stroke-width 14 stroke '$BLUE' line 84,60 132,60
stroke-width 12 stroke '$GREY' line 84,100 180,100 line 84,128 180,128
line 84,156 104,156 line 84,184 98,184 line 84,212 102,212
stroke none fill '$BLUE' circle 172,180 172,120
fill none stroke '$BLUE_L' stroke-width 7 stroke-linecap butt
ellipse 172,180 26,60 0,360
line 172,120 172,240 line 112,180 232,180 line 120,150 224,150 line 120,210 224,210
stroke '$OUT' stroke-width 8 circle 172,180 172,120
EOF
    "$IM" -size 768x768 xc:none -draw "affine 3,0,0,3,0,0 $(cat "$TMP/app.mvg")" "$TMP/app_big.png"
    local n
    for n in 256 48 32; do
        "$IM" "$TMP/app_big.png" -scale ${n}x${n} "${PNG_OPTS[@]}" PNG32:"$ART/brenzo_$n.png"
    done
    # The 32 px icon twice the size, for screens of high density.
    "$IM" "$TMP/app_big.png" -scale 64x64 "${PNG_OPTS[@]}" PNG32:"$ART/brenzo_32@2x.png"
    # 24 px copy used by the web badge, 32 px by the banner
    "$IM" "$TMP/app_big.png" -scale 24x24 "$TMP/app_24.png"
    "$IM" "$TMP/app_big.png" -scale 32x32 "$TMP/app_32.png"

    cat > "$ART/brenzo.svg" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<!-- Brenzo application icon: a page of text with a globe. -->
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="256" height="256" viewBox="0 0 256 256">
  <g stroke="$OUT" stroke-width="8" stroke-linejoin="round" stroke-linecap="round">
    <path fill="$PAPER" d="$APP_PAGE"/>
    <path fill="$GREY_L" d="$APP_FOLD"/>
  </g>
  <g fill="none" stroke-linecap="round">
    <path stroke="$BLUE" stroke-width="14" d="M 84,60 H 132"/>
    <path stroke="$GREY" stroke-width="12" d="M 84,100 H 180 M 84,128 H 180 M 84,156 H 104 M 84,184 H 98 M 84,212 H 102"/>
  </g>
  <circle cx="172" cy="180" r="60" fill="$BLUE"/>
  <g fill="none" stroke="$BLUE_L" stroke-width="7">
    <ellipse cx="172" cy="180" rx="26" ry="60"/>
    <path d="M 172,120 V 240 M 112,180 H 232 M 120,150 H 224 M 120,210 H 224"/>
  </g>
  <circle cx="172" cy="180" r="60" fill="none" stroke="$OUT" stroke-width="8"/>
</svg>
EOF
}

# ---------------------------------------------------------------------------
# Vertical banner for the wizard's left column: gradient, a few bubbles and
# sparkles, the icon at the top and the name written from bottom to top.
make_banner() {
    banner_at 1 "$ART/banner.png"
    banner_at 2 "$ART/banner@2x.png"
}

# banner_at TIMES OUT: the banner drawn TIMES larger (for screens of high
# density), the same drawing on a finer grid.
banner_at() {
    local S=$1 out=$2 W=49 H=266
    local icon=$TMP/app_32.png
    if [ "$S" -ne 1 ]; then
        icon=$TMP/app_32_x$S.png
        "$IM" "$TMP/app_big.png" -scale $((32 * S))x$((32 * S)) "$icon"
    fi
    "$IM" -size $((W * S))x$((H * S)) gradient:'#6FB8F3-#22508F' "$TMP/banner_bg.png"
    "$IM" -size $((W * 4 * S))x$((H * 4 * S)) xc:none -draw "affine $((4 * S)),0,0,$((4 * S)),0,0
        stroke none fill '#FFFFFF2A'
        circle 8,70 8,84  circle 44,96 44,104  circle 12,128 12,133  circle 40,250 40,268
        circle 4,232 4,241  circle 30,56 30,60
        fill '#FFFFFF44' circle 38,78 38,80.5  circle 9,104 9,105.5  circle 24,128 24,129.2
        fill '$YEL_L'
        path 'M 40,52 L 41.2,55.8 L 45,57 L 41.2,58.2 L 40,62 L 38.8,58.2 L 35,57 L 38.8,55.8 Z'
        path 'M 10,54 L 10.8,56.2 L 13,57 L 10.8,57.8 L 10,60 L 9.2,57.8 L 7,57 L 9.2,56.2 Z'
        path 'M 25,82 L 25.8,84.2 L 28,85 L 25.8,85.8 L 25,88 L 24.2,85.8 L 22,85 L 24.2,84.2 Z'
        fill none stroke '#FFFFFF55' stroke-width 1.2 line 10,140 39,140 line 10,258 39,258
        " -scale $((W * S))x$((H * S)) "$TMP/banner_deco.png"
    local shadow=1.5
    [ "$S" -eq 1 ] || shadow=$((3 * S / 2))
    "$IM" "$TMP/banner_bg.png" "$TMP/banner_deco.png" -compose over -composite \
        \( "$icon" -background '#0B2A5588' -shadow 60x$shadow+$S+$S \) -geometry +$((8 * S))+$((13 * S)) -composite \
        "$icon" -geometry +$((8 * S))+$((12 * S)) -composite \
        -font "$FONT_BOLD" -pointsize $((30 * S)) \
        -fill '#0B2A5599' -annotate 270x270+$((37 * S))+$((252 * S)) 'Brenzo' \
        -fill white -annotate 270x270+$((35 * S))+$((250 * S)) 'Brenzo' \
        "${PNG_OPTS[@]}" PNG32:"$out"
}

# ---------------------------------------------------------------------------
# 64 x 64 pictures of the three other programs.  Outline 2 pixels.
STYLE64="stroke-linejoin round stroke-linecap round stroke '$OUT' stroke-width 2"

make_programs() {
    icon 64 prog_agenda <<EOF
$STYLE64 fill '$RED' roundrectangle 8,12 56,58 5,5
stroke none fill '$PAPER' path 'M 9,27 H 55 V 53 Q 55,57 51,57 H 13 Q 9,57 9,53 Z'
stroke '$OUT' line 8,27 56,27
stroke none fill white font '$FONT_BOLD' font-size 8 text-anchor middle text 32,24.3 'ENERO'
fill '$GREY_L'
rectangle 13,31 18,35 rectangle 21,31 26,35 rectangle 29,31 34,35 rectangle 37,31 42,35 rectangle 45,31 50,35
rectangle 13,37 18,41 rectangle 21,37 26,41 rectangle 29,37 34,41 rectangle 45,37 50,41
rectangle 13,43 18,47 rectangle 21,43 26,47 rectangle 29,43 34,47 rectangle 37,43 42,47 rectangle 45,43 50,47
rectangle 13,49 18,53 rectangle 21,49 26,53 rectangle 29,49 34,53
fill '$BLUE' rectangle 37,37 42,41
fill none stroke '$BLUE' stroke-width 1.5 circle 39.5,39 39.5,34.2
stroke '$OUT' stroke-width 2 fill '$GREY_L' roundrectangle 18,4 23,16 2.5,2.5 roundrectangle 41,4 46,16 2.5,2.5
EOF

    icon 64 prog_fotos <<EOF
$STYLE64 fill '$BLUE' roundrectangle 8,8 56,58 4,4
stroke none fill '$BLUE_D' path 'M 12,9 H 17 V 57 H 12 Q 9,57 9,54 V 12 Q 9,9 12,9 Z'
stroke '$OUT' line 17,8 17,58
push graphic-context
translate 35,30 rotate 9
fill '$PAPER_2' rectangle -14,-14 14,16
pop graphic-context
fill '$PAPER' rectangle 21,14 49,44
stroke none fill '$BLUE_L' rectangle 24,17 46,37
fill '$YEL' circle 40,22.5 40,19.5
fill '$GREEN' polygon 24,37 24,33 31,26 36,31 40,28 46,34 46,37
fill none stroke '$OUT' stroke-width 1.5 rectangle 24,17 46,37
stroke '$OUT' stroke-width 2 fill '$PAPER_2' roundrectangle 27,49 47,54 2,2
EOF

    icon 64 prog_notas <<EOF
$STYLE64 fill '$YEL_L' roundrectangle 10,12 48,59 3,3
stroke '$BLUE_L' stroke-width 1.5 line 15,28 43,28 line 15,34 43,34 line 15,40 43,40 line 15,46 40,46 line 15,52 30,52
stroke '$PINK' line 20,20 20,58
stroke '$OUT' stroke-width 2 fill '$RED' rectangle 10,12 48,20
fill '$GREY_L' roundrectangle 15,7 18,16 1.5,1.5 roundrectangle 23,7 26,16 1.5,1.5
roundrectangle 31,7 34,16 1.5,1.5 roundrectangle 39,7 42,16 1.5,1.5
push graphic-context
translate 33,53 rotate -50
fill '#F3D2A2' polygon 0,0 8,-4 8,4
fill '$OUT' stroke none polygon 0,0 3,-1.5 3,1.5
stroke '$OUT' fill '$ORA' rectangle 8,-4 30,4
stroke '$YEL_D' stroke-width 1.2 line 9.5,0 28.5,0
stroke '$OUT' stroke-width 2 fill '$GREY' rectangle 30,-4 33,4
fill '$PINK' path 'M 33,-4 H 35 Q 38,-4 38,-1 V 1 Q 38,4 35,4 H 33 Z'
pop graphic-context
EOF
}

# ---------------------------------------------------------------------------
# 88 x 31 web badge (GIF): icon panel on the left, the name on the right.
make_badge() {
    "$IM" -size 88x31 xc:'#FFFFFF' \
        \( -size 57x29 gradient:'#4C9BE6-#1F5596' \) -geometry +30+1 -composite \
        -fill none -stroke "$OUT" -draw 'rectangle 0,0 87,30 line 29,1 29,29' \
        -stroke '#FFFFFF66' -draw 'line 30,1 86,1 line 30,1 30,29' \
        -stroke '#0F2F5A' -draw 'line 31,29 86,29 line 86,2 86,29' \
        -stroke '#DDE5EE' -draw 'line 1,29 28,29 line 28,1 28,29' \
        "$TMP/app_24.png" -geometry +3+3 -composite \
        -stroke none -font "$FONT_COND_BOLD" -pointsize 14 \
        -fill '#0B2A55' -annotate +34+21 'Brenzo' \
        -fill white -annotate +33+20 'Brenzo' \
        -colors 64 "${GIF_OPTS[@]}" GIF:"$MEDIA/boton_brenzo.gif"
}

# ---------------------------------------------------------------------------
# Sample pictures (drawn, not photographed).

make_photos() {
    local W=640 H=480 t=$TMP
    # Beach: sky, sun, clouds, sea, sand, a palm tree and a sunshade.
    "$IM" -size ${W}x290 gradient:'#2C78C8-#C4E7F8' \
          -size ${W}x190 gradient:'#1D64A0-#38B0C2' -append "$t/beach_base.png"
    "$IM" -size ${W}x${H} xc:none -fill '#FFF3B0' -draw 'circle 130,95 130,40' -blur 0x18 \
          -fill '#FFF6C8' -draw 'circle 130,95 130,57' "$t/beach_sun.png"
    "$IM" -size ${W}x${H} xc:none -fill '#FFFFFFE0' -draw "
          ellipse 300,80 50,18 0,360  ellipse 340,70 40,22 0,360  ellipse 370,86 45,14 0,360
          ellipse 520,130 38,12 0,360  ellipse 548,122 30,15 0,360  ellipse 575,133 35,10 0,360
          ellipse 60,180 35,9 0,360  ellipse 85,175 26,11 0,360" -blur 0x3 "$t/beach_clouds.png"
    "$IM" -size ${W}x${H} xc:none -draw "
          fill '#5C8FA8' path 'M 0,290 Q 60,262 120,276 Q 170,268 210,290 Z'
          fill '#6E9DB3' path 'M 430,290 Q 480,274 530,282 Q 580,270 640,280 L 640,290 Z'
          stroke '#FFFFFF70' stroke-width 2 fill none
          line 240,310 300,310  line 420,330 470,330  line 80,340 150,340  line 330,350 400,350
          line 520,305 570,305  line 180,322 220,322
          stroke none fill '#FFFFFF' polygon 350,280 350,252 366,280  polygon 347,280 347,258 336,280
          fill '#7A4A2A' polygon 332,282 370,282 365,288 337,288
          stroke '#33414F' stroke-width 2 fill none
          path 'M 250,140 q 7,-7 14,0 q 7,-7 14,0'  path 'M 290,160 q 5,-5 10,0 q 5,-5 10,0'
          path 'M 430,60 q 6,-6 12,0 q 6,-6 12,0'" "$t/beach_far.png"
    "$IM" -size ${W}x${H} gradient:'#FBE9B9-#D9B273' \
          \( -size ${W}x${H} xc:black -fill white \
             -draw "path 'M 0,380 Q 120,352 260,372 Q 420,395 520,365 Q 590,350 640,358 L 640,480 L 0,480 Z'" \) \
          -alpha off -compose copy_opacity -composite "$t/beach_sand.png"
    "$IM" -size ${W}x${H} xc:none -fill none -stroke '#FFFFFFC8' -strokewidth 5 \
          -draw "path 'M 0,377 Q 120,349 260,369 Q 420,392 520,362 Q 590,347 640,355'" \
          -stroke '#FFFFFF70' -strokewidth 3 \
          -draw "path 'M 0,370 Q 120,343 260,362 Q 420,384 520,356 Q 590,341 640,348'" \
          -blur 0x1 "$t/beach_foam.png"
    "$IM" -size ${W}x${H} xc:none -draw "
          stroke-linecap round stroke-linejoin round
          fill '#00000030' stroke none ellipse 555,452 60,9 0,360  ellipse 200,440 55,8 0,360
          stroke '#7B4B24' stroke-width 18 fill none path 'M 560,450 Q 575,330 505,200'
          stroke '#9C6634' stroke-width 3
          line 552,420 574,418  line 556,385 578,385  line 556,350 576,352  line 549,315 569,319
          line 538,282 557,288  line 524,250 542,258  line 513,222 529,231
          stroke none fill '#2E8B3E'
          path 'M 505,200 Q 450,160 385,205 Q 455,180 505,210 Z'
          path 'M 505,200 Q 470,140 410,140 Q 470,160 500,210 Z'
          path 'M 505,200 Q 530,130 600,140 Q 540,155 510,210 Z'
          path 'M 505,200 Q 580,175 625,230 Q 570,200 508,210 Z'
          fill '#3FA650'
          path 'M 505,200 Q 505,150 470,110 Q 520,140 512,205 Z'
          path 'M 505,200 Q 470,215 440,265 Q 462,210 500,198 Z'
          path 'M 508,200 Q 555,215 570,270 Q 545,220 505,205 Z'
          fill '#6B4220' circle 500,212 500,219 circle 513,214 513,221 circle 507,223 507,230
          stroke '#5B5B5B' stroke-width 5 line 200,445 218,330
          stroke none fill '#E0524A' path 'M 150,335 Q 215,275 285,325 Z'
          fill '#FFFFFF' path 'M 195,317 Q 215,284 238,312 Z'
          fill '#F0913A' polygon 130,448 240,448 252,465 118,465
          fill '#FFFFFF' polygon 160,448 172,448 178,465 163,465
          fill '#E6C27A' stroke '#B08A4A' stroke-width 2
          path 'M 300,455 q 8,-12 16,0 q 8,-12 16,0'" "$t/beach_near.png"
    "$IM" "$t/beach_base.png" "$t/beach_sun.png" -composite "$t/beach_clouds.png" -composite \
          "$t/beach_far.png" -composite "$t/beach_sand.png" -composite \
          "$t/beach_foam.png" -composite "$t/beach_near.png" -composite \
          -blur 0x0.6 "${JPG_OPTS[@]}" -quality 80 "$SAMPLES/foto_playa.jpg"

    # Portrait, 120 x 160, drawn four times larger and reduced.
    "$IM" -size 480x640 gradient:'#CFE3F0-#88B3D3' -draw "
          affine 4,0,0,4,0,0 stroke-linecap round stroke-linejoin round
          fill '#FFFFFF30' circle 95,25 95,45  circle 18,120 18,130
          fill '#5A3A22' ellipse 60,66 33,38 0,360  rectangle 27,66 93,112
          fill '#C0504D' ellipse 60,172 56,46 0,360
          fill '#E0A982' rectangle 51,92 69,132
          fill '#E0A982' polygon 45,132 75,132 60,150
          fill '#F2C29B' ellipse 33,76 5,8 0,360  ellipse 87,76 5,8 0,360
          ellipse 60,72 27,34 0,360
          fill '#5A3A22' path 'M 32,64 Q 34,34 60,36 Q 88,34 89,66 Q 80,50 64,50 Q 46,48 32,64 Z'
          fill white ellipse 49,73 5,3.2 0,360  ellipse 71,73 5,3.2 0,360
          fill '#4A6E3A' circle 49,73 49,70.5  circle 71,73 71,70.5
          fill '#1E1E1E' circle 49,73 49,71.8  circle 71,73 71,71.8
          fill none stroke '#4A2F1C' stroke-width 1.6 path 'M 43,66 Q 49,63 55,66' path 'M 65,66 Q 71,63 77,66'
          stroke '#C98E6A' stroke-width 1.5 path 'M 60,76 Q 57,86 61,87'
          stroke '#B5524A' stroke-width 2 path 'M 51,93 Q 60,99 69,93'
          stroke none fill '#F49C8C55' circle 44,85 44,90  circle 76,85 76,90
          " -scale 120x160 "${JPG_OPTS[@]}" -quality 85 "$SAMPLES/retrato.jpg"

    # Mountain lake, 320 x 240.
    "$IM" -size 320x150 gradient:'#7DB9E8-#E6F3FB' -size 320x90 gradient:'#4F8FB8-#2D5E80' -append \
          -draw "stroke-linejoin round
          fill '#8C9BB0' polygon 0,150 0,105 40,80 85,115 120,70 170,120 220,60 270,112 300,90 320,100 320,150
          fill '#6C7E96' polygon 60,150 120,70 150,100 185,150  polygon 190,150 220,60 250,95 285,150
          fill '#F7FAFD' polygon 120,70 106,88 113,86 121,92 128,86 134,85
                         polygon 220,60 206,80 214,77 221,84 229,77 236,79
          fill '#3F7A45' polygon 0,150 0,132 60,126 130,138 200,128 260,134 320,126 320,150
          fill '#2E5E35' polygon 20,150 28,118 36,150  polygon 34,150 43,110 52,150
                         polygon 262,150 272,112 282,150  polygon 282,150 290,122 298,150
          fill '#FFFFFF55' rectangle 40,170 90,171 rectangle 150,185 230,186 rectangle 240,165 280,166
          fill '#2E5E35A0' polygon 20,150 28,180 36,150  polygon 34,150 43,188 52,150
          fill '#FFF6C8' circle 270,35 270,21" \
          -blur 0x0.5 "${JPG_OPTS[@]}" -quality 82 "$SAMPLES/montana.jpg"
}

# Animated star: eight frames, a fifth of a turn in all (so it loops
# seamlessly), with a pause on the first and fifth frames.
make_star_gif() {
    local pts
    pts=$("$PY" - <<'EOF'
import math
out = []
for k in range(10):
    r = 25.0 if k % 2 == 0 else 10.5
    a = math.radians(-90 + 36 * k)
    out.append("%.2f,%.2f" % (r * math.cos(a), r * math.sin(a)))
print(" ".join(out))
EOF
)
    local delays=(45 6 6 6 25 6 6 6) frames=() i angle scale
    for i in 0 1 2 3 4 5 6 7; do
        angle=$((i * 9))
        scale=$("$PY" -c "import math; print('%.3f' % (1 + 0.08 * math.sin(2 * math.pi * $i / 8)))")
        "$IM" -size 256x256 xc:none -draw "
            affine 4,0,0,4,0,0 stroke-linejoin round
            push graphic-context
            translate 32,32 rotate $angle scale $scale,$scale
            fill '$YEL' stroke '$OUT' stroke-width 2.5 polygon $pts
            fill '$YEL_L' stroke none push graphic-context scale 0.45,0.45 polygon $pts pop graphic-context
            pop graphic-context
            fill '$PAPER' stroke '$ORA' stroke-width 0.8
            $( [ $((i % 4)) -eq 0 ] && echo "circle 55,9 55,10.8 circle 8,52 8,53.5" )
            $( [ $((i % 4)) -eq 2 ] && echo "circle 56,50 56,51.5 circle 9,12 9,13.5" )
            " -scale 64x64 -channel A -threshold 50% +channel "$TMP/star_$i.png"
        frames+=(-delay "${delays[$i]}" "$TMP/star_$i.png")
    done
    "$IM" -dispose Background "${frames[@]}" -loop 0 "${GIF_OPTS[@]}" GIF:"$SAMPLES/estrella.gif"
}

# A still logo whose file name has a mixed-case extension.
make_logo_gif() {
    "$IM" -size 480x192 xc:none -draw "
        affine 4,0,0,4,0,0 stroke-linejoin round
        fill '$ORA' stroke '$OUT' stroke-width 2 roundrectangle 2,2 118,46 10,10
        fill '$YEL' stroke none roundrectangle 4,4 116,20 8,8
        fill '$ORA' rectangle 4,14 116,24
        fill '$RED' stroke '$OUT' stroke-width 1.5
        path 'M 24,36 C 10,26 12,14 20,14 C 23,14 24,17 24,18 C 24,17 25,14 28,14 C 36,14 38,26 24,36 Z'
        " -scale 120x48 \
        -font "$FONT_BOLD" -pointsize 17 -fill '#7A3A10' -annotate +43+32 'Mi web' \
        -fill white -annotate +42+31 'Mi web' \
        -channel A -threshold 50% +channel "${GIF_OPTS[@]}" GIF:"$SAMPLES/Logo.Gif"
}

# ---------------------------------------------------------------------------
# Sounds, written with python's standard library.

make_sounds() {
    "$PY" - "$SAMPLES/campanas.wav" "$SAMPLES/melodia.mid" <<'EOF'
import math, struct, sys, wave

wav_path, mid_path = sys.argv[1], sys.argv[2]

# --- campanas.wav: three bell strokes, 11025 Hz, 16-bit mono, 1.6 s -------
RATE = 11025
N = int(RATE * 1.6)
# (frequency ratio, relative amplitude, decay per second) of a bell's partials
PARTIALS = [(0.5, 0.35, 1.6), (1.0, 1.0, 2.4), (1.19, 0.45, 3.2), (1.5, 0.35, 3.8),
            (2.0, 0.40, 4.5), (2.51, 0.22, 6.0), (2.66, 0.18, 6.5), (3.01, 0.12, 8.0)]
STRIKES = [(0.00, 880.0, 0.55), (0.40, 659.25, 0.50), (0.80, 783.99, 0.50)]
samples = [0.0] * N
for start, base, amp in STRIKES:
    s0 = int(start * RATE)
    for n in range(s0, N):
        t = (n - s0) / RATE
        attack = min(1.0, t / 0.004)
        v = 0.0
        for ratio, a, decay in PARTIALS:
            v += a * math.exp(-decay * t) * math.sin(2 * math.pi * base * ratio * t)
        samples[n] += amp * attack * v
# fade out the last 0.15 s so the sound ends in silence
fade = int(0.15 * RATE)
for i in range(fade):
    samples[N - fade + i] *= 1.0 - (i + 1) / fade
peak = max(abs(x) for x in samples)
scale = 0.85 * 32767 / peak
frames = b"".join(struct.pack("<h", int(round(x * scale))) for x in samples)
with wave.open(wav_path, "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(frames)

# --- melodia.mid: standard MIDI file, format 0, one short tune ----------
def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)

TPQ = 96                       # ticks per quarter note
events = bytearray()
def meta(delta, kind, data):
    events.extend(vlq(delta) + bytes([0xFF, kind]) + vlq(len(data)) + data)

meta(0, 0x03, b"Melodia")                          # track name
meta(0, 0x51, (500000).to_bytes(3, "big"))         # 120 beats per minute
meta(0, 0x58, bytes([4, 2, 24, 8]))                # 4/4
events.extend(vlq(0) + bytes([0xC0, 73]))          # channel 1: flute

# (note, length in eighths)
TUNE = [(67, 2), (72, 2), (74, 1), (76, 1), (74, 2),
        (72, 2), (69, 2), (67, 4),
        (64, 2), (67, 2), (69, 1), (71, 1), (72, 2),
        (74, 2), (71, 2), (72, 4)]
pending = 0
for note, eighths in TUNE:
    length = eighths * TPQ // 2
    events.extend(vlq(pending) + bytes([0x90, note, 84]))
    events.extend(vlq(length - 8) + bytes([0x80, note, 64]))
    pending = 8
meta(pending, 0x2F, b"")                           # end of track

header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TPQ)
track = b"MTrk" + struct.pack(">I", len(events)) + bytes(events)
with open(mid_path, "wb") as f:
    f.write(header + track)
EOF
}

# ---------------------------------------------------------------------------
# Sample text in Windows-1252 (Latin-1 compatible: only characters that
# both encodings share).
make_text() {
    "$PY" - "$SAMPLES/texto_ejemplo.txt" <<'EOF'
import sys
text = """¡Bienvenidos a mi página personal!

Me llamo Lucía y vivo en un pueblo pequeño, cerca del mar.
Aquí encontrarás fotos de mis viajes, las canciones que más me gustan
y algunas recetas de mi abuela: la tortilla de patatas y el turrón.
¿Te gusta la música? A mí, muchísimo: toco la guitarra desde niña.

Gracias por tu visita. ¡Vuelve pronto y escríbeme si quieres!
"""
with open(sys.argv[1], "wb") as f:
    f.write(text.encode("cp1252"))
EOF
}

make_samples() {
    make_photos
    make_star_gif
    make_logo_gif
    make_sounds
    make_text
}

# ---------------------------------------------------------------------------
main() {
    local what=${1:-all}
    case $what in
        all)       make_textures; make_buttons; make_app_icon; make_banner
                   make_programs; make_badge; make_samples ;;
        textures)  make_textures ;;
        icons)     make_buttons ;;
        app)       make_app_icon ;;
        banner)    make_app_icon; make_banner ;;
        programs)  make_programs ;;
        badge)     make_app_icon; make_badge ;;
        samples)   make_samples ;;
        photos)    make_photos ;;
        gifs)      make_star_gif; make_logo_gif ;;
        sounds)    make_sounds ;;
        text)      make_text ;;
        *) echo "usage: $0 [all|textures|icons|app|banner|programs|badge|samples|photos|gifs|sounds|text]" >&2
           exit 2 ;;
    esac
}

main "$@"
