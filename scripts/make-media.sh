#!/usr/bin/env bash
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
# Usage:  scripts/make-media.sh [all|textures|badge|samples|sounds|text|icons|app|banner|programs]

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
PNG_OPTS=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9)
JPG_OPTS=(-strip -interlace none -type TrueColor -sampling-factor 2x2)
GIF_OPTS=(-strip)

# ---------------------------------------------------------------------------
# Palette shared by all the artwork (flat colours, soft dark-blue outline).
OUT='#2E3F5E'        # outline
OUT_SOFT='#46597C'   # inner details
BLUE='#3E8EDE'
BLUE_D='#2A6DB5'
BLUE_L='#A8D4F6'
GREEN='#45B06A'
GREEN_D='#2F8A4F'
GREEN_L='#A9DEB8'
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
BROWN_D='#8F5A2E'
SKIN='#F2C29B'

# ---------------------------------------------------------------------------
# render_icon SIZE OUTFILE MVGFILE
# The MVG drawing uses a SIZE x SIZE coordinate grid; it is drawn 16 times
# larger and box-averaged down, which gives clean anti-aliasing and keeps
# edges placed on .5 coordinates sharp.
render_icon() {
    local size=$1 out=$2 mvg=$3 k=${4:-16}
    local big=$((size * k))
    "$IM" -size ${big}x${big} xc:none \
        -draw "affine $k,0,0,$k,0,0 $(cat "$mvg")" \
        -scale ${size}x${size} "${PNG_OPTS[@]}" PNG32:"$out"
}

# icon SIZE NAME   (MVG on standard input)  -> wizard/art/NAME.png
icon() {
    cat > "$TMP/icon.mvg"
    render_icon "$1" "$ART/$2.png" "$TMP/icon.mvg"
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
$STYLE fill '$GREY_L' polygon 1.5,5.5 4.5,5.5 8.5,1.5 8.5,14.5 4.5,10.5 1.5,10.5
fill none stroke-width 3.2 path 'M 11,5.5 A 3,3 0 0 1 11,10.5' path 'M 12.6,2.6 A 6.5,6.5 0 0 1 12.6,13.4'
stroke '$BLUE' stroke-width 1.3 path 'M 11,5.5 A 3,3 0 0 1 11,10.5' path 'M 12.6,2.6 A 6.5,6.5 0 0 1 12.6,13.4'
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
$STYLE fill '$OUT' stroke-width 2 circle 4.5,9.5 4.5,6.5 circle 9,7 9,3 circle 12.5,10 12.5,7.5 rectangle 4.5,9 12.5,12.5
stroke none fill '$PAPER_2' circle 4.5,9.5 4.5,6.5 circle 9,7 9,3 circle 12.5,10 12.5,7.5 rectangle 4.5,9 12.5,12.5
stroke '$OUT' stroke-width 1 fill '$GREEN' polygon 8.5,6 12,9.5 10,9.5 10,15 7,15 7,9.5 5,9.5
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
stroke none fill '$PAPER_2' circle 7,14 7,9 circle 12.5,10 12.5,3.5 circle 18,14.5 18,10 rectangle 7,13 18,19
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
main() {
    local what=${1:-all}
    case $what in
        all)       make_textures; make_buttons ;;
        textures)  make_textures ;;
        icons)     make_buttons ;;
        *) echo "usage: $0 [all|textures|icons]" >&2; exit 2 ;;
    esac
}

main "$@"
