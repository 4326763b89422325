#!/usr/bin/env bash
# Draws Lumaspan's skin with ImageMagick into res/Res/ (copied into the program folder as Res\) and
# the program icon into app/. Run it after changing a colour or a caption; commit what it writes.
#
#   res/draw_skin.sh
#
# One palette and one font family for everything: white pages, the accent green RGB(0, 141, 66),
# Liberation Sans captions drawn on the very backgrounds they sit on, so no edge is left ragged.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out=$here/Res
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out/Common" "$out/Menu" "$out/Dialog"

# --- palette and fonts ---------------------------------------------------------------------------
ACCENT='#008D42'       # RGB(0, 141, 66)
ACCENT_DARK='#006B32'
ACCENT_DEEP='#00552A'
ACCENT_BRIGHT='#19A95C'
ACCENT_LIGHT='#4CC07F'
TINT='#EAF6EF'         # the lightest green, hover backgrounds
TINT_STRONG='#D3EEDD'
INK='#1E3328'          # dark text on light backgrounds
GREY_TEXT='#5D6B63'
RED='#D9413A'
ORANGE='#E8912D'
BLUE='#2F7FD1'
SANS=Liberation-Sans
BOLD=Liberation-Sans-Bold

im() { convert "$@"; }
# 24-bit Windows bitmaps (LoadImage reads them; no alpha channel).
bmp() { convert "$1" -alpha off -type TrueColor "BMP3:$2"; }
png() { convert "$1" -strip -define png:exclude-chunks=date,time "PNG32:$2"; }

# --- the window frame ----------------------------------------------------------------------------
# A template window 240 x 120 with rounded top corners (mask colour outside), three border rings, a
# 26-pixel title bar and a white client; the theme's images are cut out of it.
FRAME_W=240 FRAME_H=120 TITLE_H=26 BORDER=3

frame_template() {  # <name> <ring outer> <ring middle> <ring inner> <title top> <title bottom> <title line> <highlight>
  local name=$1
  im -size ${FRAME_W}x${TITLE_H} gradient:"$5-$6" "$tmp/$name-title-fill.png"
  im -size ${FRAME_W}x${FRAME_H} xc:magenta +antialias \
     -fill "$2" -draw "roundrectangle 0,0 $((FRAME_W-1)),$((FRAME_H+40)) 6,6" \
     -fill "$3" -draw "roundrectangle 1,1 $((FRAME_W-2)),$((FRAME_H+40)) 5,5" \
     -fill "$4" -draw "roundrectangle 2,2 $((FRAME_W-3)),$((FRAME_H+40)) 4,4" \
     -tile "$tmp/$name-title-fill.png" -draw "roundrectangle 3,3 $((FRAME_W-4)),$((FRAME_H+40)) 3,3" +tile \
     -fill "$8" -draw "line 6,3 $((FRAME_W-7)),3" \
     -fill "$7" -draw "line 3,$((TITLE_H-1)) $((FRAME_W-4)),$((TITLE_H-1))" \
     -fill white -draw "rectangle 3,$TITLE_H $((FRAME_W-4)),$((FRAME_H-BORDER-1))" \
     -fill "$4" -draw "line 2,$((FRAME_H-3)) $((FRAME_W-3)),$((FRAME_H-3))" \
     -fill "$3" -draw "line 1,$((FRAME_H-2)) $((FRAME_W-2)),$((FRAME_H-2))" \
     -fill "$2" -draw "line 0,$((FRAME_H-1)) $((FRAME_W-1)),$((FRAME_H-1))" \
     "$tmp/$name-frame.png"
}
frame_template active "$ACCENT_DEEP" '#007A3A' "$ACCENT" "$ACCENT_BRIGHT" '#008540' '#006A33' "$ACCENT_LIGHT"
frame_template inactive '#7E8B84' '#97A29C' '#A9B4AE' '#C2CBC6' '#ADB8B2' '#9AA6A0' '#D3DAD6'

cut() {  # <variant> <geometry> <file>
  im "$tmp/$1-frame.png" -crop "$2" +repage "$3"
}
for v in active inactive; do
  cut $v $((FRAME_W-2*BORDER))x${TITLE_H}+${BORDER}+0 "$tmp/title-$v.png"
  cut $v ${BORDER}x${FRAME_H}+0+0 "$tmp/left-$v.png"
  cut $v ${BORDER}x${FRAME_H}+$((FRAME_W-BORDER))+0 "$tmp/right-$v.png"
  cut $v $((FRAME_W-2*BORDER))x${BORDER}+${BORDER}+$((FRAME_H-BORDER)) "$tmp/bottom-$v.png"
done
# Title and bottom: active above inactive. Borders: active left of inactive.
im "$tmp/title-active.png" "$tmp/title-inactive.png" -append "$tmp/title.png"
im "$tmp/bottom-active.png" "$tmp/bottom-inactive.png" -append "$tmp/bottom.png"
im "$tmp/left-active.png" "$tmp/left-inactive.png" +append "$tmp/left.png"
im "$tmp/right-active.png" "$tmp/right-inactive.png" +append "$tmp/right.png"
bmp "$tmp/title.png" "$out/Common/QOR_Frame_Title.bmp"
bmp "$tmp/left.png" "$out/Common/QOR_Frame_Left.bmp"
bmp "$tmp/right.png" "$out/Common/QOR_Frame_Right.bmp"
bmp "$tmp/bottom.png" "$out/Common/QOR_Frame_Bottom.bmp"

# Frame buttons: three cells (normal, pressed, hover) in two rows (active, inactive), each cell
# drawn on the very title-bar pixels it covers, so the button needs no mask colour.
BUTTON_Y=3 BUTTON_H=20
frame_button() {  # <file> <cell width> <glyph draw> <hover fill active> <pressed fill active>
  local file=$1 w=$2 glyph=$3 hover=$4 pressed=$5 rows=()
  local v
  for v in active inactive; do
    local bg="$tmp/btn-bg-$v.png" cells=() state fill colour
    im "$tmp/$v-frame.png" -crop ${w}x${BUTTON_H}+100+${BUTTON_Y} +repage "$bg"
    if [ $v = active ]; then colour=white; else colour='#F4F6F5'; fi
    for state in normal pressed hover; do
      fill=none
      if [ $state = hover ]; then fill=$hover; [ $v = inactive ] && fill='#BCC6C1'; fi
      if [ $state = pressed ]; then fill=$pressed; [ $v = inactive ] && fill='#98A39D'; fi
      im "$bg" \( -size $((w*4))x$((BUTTON_H*4)) xc:none -fill "$fill" \
            -draw "roundrectangle 2,4 $((w*4-3)),$((BUTTON_H*4-5)) 10,10" \
            -stroke "$colour" -strokewidth 6 -fill none -draw "$glyph" -resize 25% \) \
         -composite "$tmp/cell-$v-$state.png"
      cells+=("$tmp/cell-$v-$state.png")
    done
    im "${cells[@]}" +append "$tmp/row-$v.png"
    rows+=("$tmp/row-$v.png")
  done
  im "${rows[@]}" -append "$tmp/button.png"
  bmp "$tmp/button.png" "$file"
}
# Glyphs are drawn at four times the size, centred in the cell.
frame_button "$out/Common/QOR_Frame_Close.bmp" 34 "line 50,26 86,62 line 86,26 50,62" "$RED" '#A82E28'
frame_button "$out/Common/QOR_Frame_Minimize.bmp" 30 "line 42,56 78,56" '#45C07D' "$ACCENT_DEEP"
frame_button "$out/Common/QOR_Frame_Maximize.bmp" 30 "rectangle 44,26 76,58" '#45C07D' "$ACCENT_DEEP"
frame_button "$out/Common/QOR_Frame_Restore.bmp" 30 "rectangle 42,34 68,60 polyline 52,34 52,24 78,24 78,50 68,50" \
  '#45C07D' "$ACCENT_DEEP"

cat > "$out/Common/theme.ini" <<INI
; Lumaspan's window frame. Images are relative to this folder; colours are red,green,blue.
[General]
ColorMask=255,0,255
TextShift=26
TextShiftVert=0
EnableTransparency=true

[FrameParams]
Title=QOR_Frame_Title.bmp
LeftBorder=QOR_Frame_Left.bmp
RightBorder=QOR_Frame_Right.bmp
BottomBorder=QOR_Frame_Bottom.bmp
TopTopHeight=6
TopBotHeight=6
LeftTopHeight=$TITLE_H
LeftBotHeight=$BORDER
RightTopHeight=$TITLE_H
RightBotHeight=$BORDER
BottomTopHeight=0
BottomBotHeight=0
ButtonCount=2
ButtonImgCount=3
TextColorActive=255,255,255
TextColorInactive=244,247,245

[FrameButton0]
ButtonImage=QOR_Frame_Close.bmp
Type=0
XCoord=40
YCoord=$BUTTON_Y

[FrameButton1]
ButtonImage=QOR_Frame_Minimize.bmp
Type=2
XCoord=70
YCoord=$BUTTON_Y
INI
sed -i 's/$/\r/' "$out/Common/theme.ini"


# --- glyphs --------------------------------------------------------------------------------------
# Each glyph is drawn white on black at 64 x 64 (black erases), then used as the coverage of a
# colour at the size wanted, so every icon edge is smooth.
# An arc as a polyline (this ImageMagick fills the chord of a thick stroked arc): centre, radius,
# start and end angles in degrees, clockwise from three o'clock.
arcline() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" -v b="$5" 'BEGIN { p = 3.14159265 / 180; printf "polyline";
    for (t = a; t < b; t += 5) printf " %.2f,%.2f", cx + r * cos(t * p), cy + r * sin(t * p);
    printf " %.2f,%.2f", cx + r * cos(b * p), cy + r * sin(b * p) }'
}

# A thick arc as a chain of discs (round ends included): centre, radius, start and end angles,
# and the thickness.
arcdots() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" -v b="$5" -v w="$6" 'BEGIN { p = 3.14159265 / 180;
    for (t = a; t <= b; t += 2) { x = cx + r * cos(t * p); y = cy + r * sin(t * p);
      printf " circle %.2f,%.2f %.2f,%.2f", x, y, x + w / 2, y } }'
}

glyph_mvg() {
  case $1 in
    sparkle) echo "fill white polygon 30,6 36,27 57,33 36,39 30,60 24,39 3,33 24,27
                   polygon 51,3 54,10 61,13 54,16 51,23 48,16 41,13 48,10" ;;
    gauge) echo "stroke white stroke-width 7 fill none $(arcline 32 38 26 180 360)
                 stroke-width 6 line 32,38 47,20 stroke none fill white circle 32,38 32,44
                 fill white rectangle 4,40 12,46 rectangle 52,40 60,46" ;;
    shield) echo "fill white path 'M32,3 L57,11 L57,30 C57,46 46,56 32,62 C18,56 7,46 7,30 L7,11 Z'
                  stroke black stroke-width 7 fill none polyline 19,32 29,42 46,23" ;;
    gear) echo "fill white circle 32,32 32,11
                push graphic-context translate 32,32 rectangle -6,-30 6,-14 rotate 45 rectangle -6,-30 6,-14
                rotate 45 rectangle -6,-30 6,-14 rotate 45 rectangle -6,-30 6,-14 rotate 45 rectangle -6,-30 6,-14
                rotate 45 rectangle -6,-30 6,-14 rotate 45 rectangle -6,-30 6,-14 rotate 45 rectangle -6,-30 6,-14
                pop graphic-context fill black circle 32,32 32,23" ;;
    cubes) echo "fill white roundrectangle 6,6 29,29 5,5 roundrectangle 35,6 58,29 5,5
                 roundrectangle 6,35 29,58 5,5 roundrectangle 35,35 58,58 5,5" ;;
    trash) echo "fill white roundrectangle 8,11 56,18 3,3 rectangle 24,4 40,11 path 'M12,22 L52,22 L48,60 L16,60 Z'
                 stroke black stroke-width 5 line 26,29 26,52 line 38,29 38,52" ;;
    eye) echo "fill white path 'M2,32 C14,12 50,12 62,32 C50,52 14,52 2,32 Z' fill black circle 32,32 32,19
               fill white circle 32,32 32,25" ;;
    shred) echo "fill white path 'M12,3 L40,3 L52,15 L52,34 L12,34 Z' fill black path 'M40,3 L40,15 L52,15'
                 fill white rectangle 12,40 18,61 rectangle 22,40 28,56 rectangle 32,40 38,61 rectangle 42,40 48,54" ;;
    power) echo "stroke white stroke-width 7 fill none $(arcline 32 34 24 300 600) line 32,4 32,30" ;;
    globe) echo "stroke white stroke-width 5 fill none circle 32,32 32,5 ellipse 32,32 12,27 0,360
                 line 6,32 58,32 line 10,18 54,18 line 10,46 54,46" ;;
    chip) echo "fill white roundrectangle 14,14 50,50 4,4 fill black rectangle 23,23 41,41 fill white
                rectangle 20,4 25,14 rectangle 30,4 35,14 rectangle 40,4 45,14 rectangle 20,50 25,60
                rectangle 30,50 35,60 rectangle 40,50 45,60 rectangle 4,20 14,25 rectangle 4,30 14,35
                rectangle 4,40 14,45 rectangle 50,20 60,25 rectangle 50,30 60,35 rectangle 50,40 60,45" ;;
    bolt) echo "fill white polygon 38,2 12,36 29,36 24,62 52,24 35,24" ;;
    disks) echo "fill white roundrectangle 8,6 56,22 8,8 roundrectangle 8,24 56,40 8,8 roundrectangle 8,42 56,58 8,8
                 fill black circle 46,14 46,17 circle 46,32 46,35 circle 46,50 46,53" ;;
    star) echo "fill white polygon 32,3 40,24 62,24 44,38 51,60 32,47 13,60 20,38 2,24 24,24" ;;
    check) echo "stroke white stroke-width 9 fill none polyline 14,33 27,46 50,20" ;;
    cross) echo "stroke white stroke-width 9 line 19,19 45,45 line 45,19 19,45" ;;
    bang) echo "fill white roundrectangle 27,10 37,40 4,4 circle 32,50 32,55" ;;
    info) echo "fill white circle 32,16 32,22 roundrectangle 27,27 37,54 4,4" ;;
    dots) echo "fill white circle 18,32 18,37 circle 32,32 32,37 circle 46,32 46,37" ;;
    question) echo "fill white font '$BOLD' font-size 58 text 16,54 '?'" ;;
    plus) echo "fill white rectangle 27,10 37,54 rectangle 10,27 54,37" ;;
    window) echo "fill white roundrectangle 4,8 60,56 6,6 fill black rectangle 9,20 55,51 fill white rectangle 14,26 34,31
                  rectangle 14,35 46,40 rectangle 14,44 40,49" ;;
    broom) echo "stroke white stroke-width 7 line 48,4 30,30 stroke none fill white path 'M22,26 L40,38 L30,60 L6,46 Z'
                 stroke black stroke-width 3 line 17,44 24,33 line 24,50 31,38" ;;
    magnifier) echo "stroke white stroke-width 8 fill none circle 26,26 26,8 stroke-width 11 line 39,39 58,58" ;;
    arrowleft) echo "fill white polygon 4,32 28,8 28,23 58,23 58,41 28,41 28,56" ;;
    refresh|restore) echo "stroke white stroke-width 8 fill none $(arcline 32 32 23 20 300)
                           stroke none fill white polygon 60,4 60,28 36,22" ;;
    stop) echo "fill white roundrectangle 12,12 52,52 7,7" ;;
    buoy) echo "stroke white stroke-width 12 fill none circle 32,32 32,9
                stroke black stroke-width 5 line 14,14 23,23 line 50,14 41,23 line 14,50 23,41 line 50,50 41,41" ;;
    wrench) echo "stroke white stroke-width 11 line 14,50 36,28 stroke none fill white circle 42,22 42,4
                  fill black polygon 42,22 50,2 62,14" ;;
    *) echo "unknown glyph $1" >&2; return 1 ;;
  esac
}

glyph() {  # <name> <colour> <size> <file>
  local mask=$tmp/glyph-$1-mask.png
  if [ ! -f "$mask" ]; then
    local flip=()
    [ "$1" = restore ] && flip=(-flop)  # the same arrow turning the other way
    im -size 64x64 xc:black -draw "$(glyph_mvg "$1")" "${flip[@]}" -alpha off "$mask"
  fi
  im -size "$3x$3" xc:"$2" \( "$mask" -resize "$3x$3" \) -alpha off -compose CopyOpacity -composite "$4"
}

# A round badge: a disc of one colour with a white glyph.
badge() {  # <glyph> <colour> <size> <file>
  local s=$3 big=$(( $3 * 4 ))
  local share=62
  [ "$s" -le 20 ] && share=72  # small badges keep a readable glyph
  glyph "$1" white $(( s * share / 100 )) "$tmp/badge-glyph.png"
  im -size ${big}x${big} xc:none -fill "$2" -draw "circle $((big/2)),$((big/2)) $((big/2)),2" -resize ${s}x${s} \
     "$tmp/badge-glyph.png" -gravity center -composite "$4"
}

# --- the program's mark --------------------------------------------------------------------------
# A green disc with a white sparkle: the logo, the splash, the window icon.
mark() {  # <size> <file>
  local s=$1 big=$(( $1 * 4 ))
  im \( -size ${big}x${big} radial-gradient:"$ACCENT_LIGHT"-"$ACCENT_DARK" \) \
     \( -size ${big}x${big} xc:black -fill white -draw "circle $((big/2)),$((big/2)) $((big/2)),3" \) \
     -alpha off -compose CopyOpacity -composite -resize ${s}x${s} "$tmp/mark-disc.png"
  glyph sparkle white $(( s * 64 / 100 )) "$tmp/mark-glyph.png"
  im "$tmp/mark-disc.png" "$tmp/mark-glyph.png" -gravity center -geometry +0+0 -composite "$2"
}
mark 48 "$tmp/icon-48.png"
mark 32 "$tmp/icon-32.png"
mark 16 "$tmp/icon-16.png"
im "$tmp/icon-16.png" "$tmp/icon-32.png" "$tmp/icon-48.png" "$root/app/Lumaspan.ico"

# --- the banner (785 x 107) ----------------------------------------------------------------------
# The program writes the platform line at (15, 46), the tagline at (15, 60), "Help" at (625, 90),
# "About" at (690, 90); those places stay plain.
mark 36 "$tmp/logo-mark.png"
glyph shield "$ACCENT" 92 "$tmp/banner-shield.png"
badge question "$ACCENT" 16 "$tmp/banner-help.png"
badge info "$ACCENT" 16 "$tmp/banner-about.png"
im -background none -font "$BOLD" -pointsize 30 -fill "$ACCENT_DARK" label:'Luma' \
   -fill "$ACCENT_BRIGHT" label:'span' +append "$tmp/banner-word.png"
im -size 785x107 xc:white \
   -fill '#F2FAF5' -draw "ellipse 785,0 420,120 0,360" \
   -fill '#E3F4EA' -draw "ellipse 800,-20 260,95 0,360" \
   -fill '#D2EEDD' -draw "ellipse 820,-40 150,80 0,360" \
   -stroke '#C4E8D2' -strokewidth 2 -fill none -draw "path 'M330,106 C450,60 560,100 785,30'" \
   -stroke '#DDF1E5' -strokewidth 2 -draw "path 'M380,106 C500,75 600,110 785,55'" -stroke none \
   "$tmp/logo-mark.png" -geometry +15+9 -composite \
   "$tmp/banner-word.png" -geometry +57+7 -composite \
   \( "$tmp/banner-shield.png" -channel A -evaluate multiply 0.13 +channel \) -geometry +680+4 -composite \
   "$tmp/banner-help.png" -geometry +606+89 -composite \
   "$tmp/banner-about.png" -geometry +671+89 -composite \
   -fill "$ACCENT" -draw "rectangle 0,106 784,106" \
   "$tmp/banner.png"
png "$tmp/banner.png" "$out/QOR_Top.png"

# --- the splash (516 x 275) ----------------------------------------------------------------------
# The program writes its status, the web address and the version in white at x = 350, y = 200,
# 218 and 236, on the darker panel.
mark 96 "$tmp/splash-mark.png"
im -size 275x516 gradient:"$ACCENT_BRIGHT"-"$ACCENT_DEEP" -rotate -90 \
   \( -size 760x760 radial-gradient:'rgba(255,255,255,0.24)'-'rgba(255,255,255,0)' \) -geometry -290-340 -composite \
   -fill none -stroke 'rgba(255,255,255,0.16)' -strokewidth 2 \
   -draw "path 'M0,225 C140,170 300,260 516,175'" -draw "path 'M0,250 C170,205 320,285 516,210'" -stroke none \
   \( -size 96x96 xc:none -fill 'rgba(0,0,0,0.25)' -draw "circle 48,48 48,2" -blur 0x4 \) -geometry +42+62 -composite \
   "$tmp/splash-mark.png" -geometry +38+56 -composite \
   -font "$BOLD" -pointsize 54 -fill white -annotate +152+118 'Lumaspan' \
   -font "$SANS" -pointsize 17 -fill '#E4F5EB' -annotate +155+146 'Keeps your PC clean, fast and private' \
   -fill 'rgba(0,40,18,0.32)' -draw "roundrectangle 338,191 530,257 8,8" \
   -font "$SANS" -pointsize 11 -fill '#CFEBDB' -annotate +22+258 "Copyright (C) 2009-2026 Lumaspan Software" \
   -fill none -stroke "$ACCENT_DEEP" -draw "rectangle 0,0 515,274" \
   "$tmp/splash.png"
png "$tmp/splash.png" "$out/QOR_Start.png"

# --- the button menu (201 x 26, three states each) -----------------------------------------------
MENU_W=201 MENU_H=26
# A closed group's header: a light gradient, its glyph, its caption and a chevron.
header_face() {  # <top> <bottom> <bottom line> <glyph file> <text> <chevron> <caption> <file>
  im -size ${MENU_W}x${MENU_H} gradient:"$1"-"$2" \
     -fill '#FFFFFF' -draw "line 0,0 $((MENU_W-1)),0" -fill "$3" -draw "line 0,$((MENU_H-1)) $((MENU_W-1)),$((MENU_H-1))" \
     "$4" -geometry +10+5 -composite \
     -font "$BOLD" -pointsize 13 -fill "$5" -annotate +34+18 "$7" \
     -font "$BOLD" -pointsize 14 -fill "$6" -annotate +183+18 '›' \
     "$8"
}
menu_header() {  # <stem> <glyph> <caption>
  local stem=$1 g=$2 caption=$3
  glyph "$g" "$ACCENT" 16 "$tmp/mh-g-normal.png"
  glyph "$g" "$ACCENT_DARK" 16 "$tmp/mh-g-over.png"
  glyph "$g" white 16 "$tmp/mh-g-down.png"
  header_face '#F8FAF9' '#E3EAE6' '#C9D6CE' "$tmp/mh-g-normal.png" "$INK" '#8FA398' "$caption" "$tmp/mh-normal.png"
  header_face '#F0FAF4' '#D6EFE0' '#B9DCC7' "$tmp/mh-g-over.png" "$ACCENT_DARK" "$ACCENT" "$caption" "$tmp/mh-over.png"
  im -size ${MENU_W}x${MENU_H} gradient:"$ACCENT_BRIGHT"-"$ACCENT" \
     -fill "$ACCENT_LIGHT" -draw "line 0,0 $((MENU_W-1)),0" -fill "$ACCENT_DARK" -draw "line 0,$((MENU_H-1)) $((MENU_W-1)),$((MENU_H-1))" \
     "$tmp/mh-g-down.png" -geometry +10+5 -composite \
     -font "$BOLD" -pointsize 13 -fill white -annotate +34+18 "$caption" \
     -stroke white -strokewidth 1.6 -fill none -draw "polyline 182,10 186,14 190,10" -stroke none \
     "$tmp/mh-down.png"
  local state
  for state in normal over down; do
    png "$tmp/mh-$state.png" "$out/Menu/${stem}_$(tr '[:lower:]' '[:upper:]' <<<"${state:0:1}")${state:1}.png"
  done
}
menu_item() {  # <stem> <glyph> <caption>
  local stem=$1 g=$2 caption=$3
  glyph "$g" '#7C9487' 14 "$tmp/mi-g-normal.png"
  glyph "$g" "$ACCENT" 14 "$tmp/mi-g-over.png"
  glyph "$g" "$ACCENT_DARK" 14 "$tmp/mi-g-down.png"
  im -size ${MENU_W}x${MENU_H} xc:white -fill '#EDF1EE' -draw "line 14,$((MENU_H-1)) $((MENU_W-1)),$((MENU_H-1))" \
     "$tmp/mi-g-normal.png" -geometry +20+6 -composite \
     -font "$SANS" -pointsize 12 -fill '#34463C' -annotate +42+17 "$caption" "$tmp/mi-normal.png"
  im -size ${MENU_W}x${MENU_H} xc:"$TINT" -fill '#D7EDE0' -draw "line 0,$((MENU_H-1)) $((MENU_W-1)),$((MENU_H-1))" \
     "$tmp/mi-g-over.png" -geometry +20+6 -composite \
     -font "$SANS" -pointsize 12 -fill "$ACCENT_DARK" -annotate +42+17 "$caption" "$tmp/mi-over.png"
  im -size ${MENU_W}x${MENU_H} xc:"$TINT_STRONG" -fill "$ACCENT" -draw "rectangle 0,0 3,$((MENU_H-1))" \
     -fill '#BFE3CD' -draw "line 4,$((MENU_H-1)) $((MENU_W-1)),$((MENU_H-1))" \
     "$tmp/mi-g-down.png" -geometry +20+6 -composite \
     -font "$BOLD" -pointsize 12 -fill "$ACCENT_DARK" -annotate +42+17 "$caption" "$tmp/mi-down.png"
  local state
  for state in normal over down; do
    png "$tmp/mi-$state.png" "$out/Menu/${stem}_$(tr '[:lower:]' '[:upper:]' <<<"${state:0:1}")${state:1}.png"
  done
}
menu_header QOR_Button_Clean sparkle 'Clean Up'
menu_item QOR_Button_Hivescrub cubes 'Registry Cleaner'
menu_item QOR_Button_Litterbin trash 'Junk File Cleaner'
menu_item QOR_Button_Tracewipe eye 'Evidence Cleaner'
menu_item QOR_Button_Erasemill shred 'File Shredder'
menu_header QOR_Button_Optimize gauge 'Optimize'
menu_item QOR_Button_Bootlist power 'Startup Manager'
menu_item QOR_Button_Addonward globe 'BHO Manager'
menu_item QOR_Button_Corebrisk chip 'System Optimizer'
menu_item QOR_Button_Taskbrisk bolt 'Application Optimizer'
menu_header QOR_Button_Backup shield 'Backup'
menu_item QOR_Button_Hivesafe disks 'Registry Backup'
menu_item QOR_Button_Bookvault star 'Favorites Backup'
menu_item QOR_Button_Rescue buoy 'Rescue Center'
menu_header QOR_Button_Options gear 'Options'

# --- push buttons --------------------------------------------------------------------------------
# Every button bitmap is a strip of 143-pixel frames: normal, hovered or focused, pressed, disabled.
# Primary actions are green, the others light; the corners are drawn on the white of the pages.
FRAME=143
push_frame() {  # <kind> <state> <height> <glyph> <caption> <file>
  local kind=$1 state=$2 h=$3 g=$4 caption=$5 file=$6 top bottom border text shadow=none dy=0
  case $kind-$state in
    primary-normal)   top='#22B163' bottom='#008D42' border='#007537' text=white shadow='#00652F' ;;
    primary-hover)    top='#3CC37A' bottom='#0A9E4D' border='#007537' text=white shadow='#00652F' ;;
    primary-pressed)  top='#007A39' bottom='#0C9A4D' border='#005F2C' text='#EAF7EF' dy=1 ;;
    primary-disabled) top='#C4D5CB' bottom='#AFC3B7' border='#A3B7AB' text='#F4F7F5' ;;
    plain-normal)     top='#FFFFFF' bottom='#E3EBE6' border='#A9BFB1' text="$INK" ;;
    plain-hover)      top='#F3FBF6' bottom='#D3EEDD' border="$ACCENT" text="$ACCENT_DARK" ;;
    plain-pressed)    top='#CFE8D9' bottom='#E6F4EC' border="$ACCENT_DARK" text="$ACCENT_DARK" dy=1 ;;
    plain-disabled)   top='#F5F7F6' bottom='#ECF0EE' border='#D2DAD5' text='#A7B2AC' ;;
  esac
  local big_w=$(( FRAME * 4 )) big_h=$(( h * 4 ))
  im -size ${FRAME}x${h} gradient:"$top"-"$bottom" "$tmp/pb-fill.png"
  im "$tmp/pb-fill.png" -resize ${big_w}x${big_h}! "$tmp/pb-fill-big.png"
  im -size ${big_w}x${big_h} xc:white \
     \( -size ${big_w}x${big_h} xc:none -fill "$border" -draw "roundrectangle 0,0 $((big_w-1)),$((big_h-1)) 20,20" \) -composite \
     \( "$tmp/pb-fill-big.png" \( -size ${big_w}x${big_h} xc:black -fill white \
          -draw "roundrectangle 4,4 $((big_w-5)),$((big_h-5)) 16,16" \) -alpha off -compose CopyOpacity -composite \) \
     -compose Over -composite -resize ${FRAME}x${h}! "$tmp/pb-base.png"
  local gs=$(( h * 46 / 100 ))
  [ $gs -gt 20 ] && gs=20
  [ $h -ge 50 ] && gs=24
  glyph "$g" "$text" $gs "$tmp/pb-glyph.png"
  # Caption and glyph centred together.
  local pt=13
  [ $h -ge 50 ] && pt=12
  im -background none -font "$BOLD" -pointsize $pt -fill "$text" label:"$caption" "$tmp/pb-text.png"
  local tw gw=$gs gap=6
  tw=$(im "$tmp/pb-text.png" -format %w info:)
  local total=$(( gw + gap + tw )) x0
  x0=$(( (FRAME - total) / 2 ))
  local th
  th=$(im "$tmp/pb-text.png" -format %h info:)
  local base="$tmp/pb-base.png"
  if [ $h -ge 50 ]; then
    # A tall button: the glyph above the caption.
    local gy=$(( (h - gs - 4 - th) / 2 ))
    if [ "$shadow" != none ]; then
      im -background none -font "$BOLD" -pointsize $pt -fill "$shadow" label:"$caption" "$tmp/pb-shadow.png"
      im "$base" "$tmp/pb-shadow.png" -geometry +$(( (FRAME - tw) / 2 ))+$(( gy + gs + 5 + dy )) -composite "$tmp/pb-base2.png"
      base="$tmp/pb-base2.png"
    fi
    im "$base" "$tmp/pb-glyph.png" -geometry +$(( (FRAME - gs) / 2 ))+$(( gy + dy )) -composite \
       "$tmp/pb-text.png" -geometry +$(( (FRAME - tw) / 2 ))+$(( gy + gs + 4 + dy )) -composite "$file"
    return
  fi
  if [ "$shadow" != none ]; then
    im -background none -font "$BOLD" -pointsize $pt -fill "$shadow" label:"$caption" "$tmp/pb-shadow.png"
    im "$base" "$tmp/pb-shadow.png" -geometry +$((x0 + gw + gap))+$(( (h - th) / 2 + 1 + dy )) -composite "$tmp/pb-base2.png"
    base="$tmp/pb-base2.png"
  fi
  im "$base" "$tmp/pb-glyph.png" -geometry +${x0}+$(( (h - gs) / 2 + dy )) -composite \
     "$tmp/pb-text.png" -geometry +$((x0 + gw + gap))+$(( (h - th) / 2 + dy )) -composite "$file"
}
push_button() {  # <file> <kind> <height> <glyph> <caption>
  local frames=() state
  for state in normal hover pressed disabled; do
    push_frame "$2" $state "$3" "$4" "$5" "$tmp/pb-$state.png"
    frames+=("$tmp/pb-$state.png")
  done
  im "${frames[@]}" +append "$tmp/pb-strip.png"
  bmp "$tmp/pb-strip.png" "$1"
}
push_button "$out/Common/QOR_Button_Start_Scan.bmp" primary 29 magnifier 'Start Scan'
push_button "$out/Common/AKEY_CLEANUP.bmp" primary 63 sparkle 'One Click to Clean'
push_button "$out/Common/QOR_Button_Clean.bmp" primary 34 broom 'Clean'
push_button "$out/Common/QOR_Button_RepairAll.bmp" primary 34 wrench 'Repair All'
push_button "$out/Common/QOR_Button_Update.bmp" primary 29 refresh 'Check Update'
push_button "$out/Common/QOR_Button_Backup.bmp" primary 34 disks 'Back up'
push_button "$out/Common/QOR_Button_Abort.bmp" plain 34 stop 'Abort'
push_button "$out/Common/QOR_Button_Back.bmp" plain 34 arrowleft 'Back'
push_button "$out/Common/QOR_Button_Restore.bmp" plain 34 restore 'Restore'
push_button "$out/Common/QOR_Button_Refresh.bmp" plain 34 refresh 'Refresh'
push_button "$out/Common/QOR_Button_Remove.bmp" plain 34 trash 'Remove'
push_button "$out/Common/QOR_Button_Undo.bmp" plain 34 restore 'Undo'
push_button "$out/Common/QOR_Button_Delete.bmp" plain 34 trash 'Delete'
push_button "$out/Common/QOR_Button_Add.bmp" plain 34 plus 'Add'
push_button "$out/Common/QOR_Button_Erase.bmp" plain 34 shred 'Erase'

# --- status icons --------------------------------------------------------------------------------
badge cross "$RED" 16 "$tmp/i.png";            png "$tmp/i.png" "$out/Common/QOR_Error_Scan.png"
badge check "$ACCENT" 16 "$tmp/i.png";         png "$tmp/i.png" "$out/Common/QOR_Right_Scan.png"
badge dots '#A4AFA9' 16 "$tmp/i.png";          png "$tmp/i.png" "$out/Common/QOR_Normal_Scan.png"
badge check "$ACCENT" 20 "$tmp/i.png";         png "$tmp/i.png" "$out/Common/QOR_Home_Cleaned.png"
badge bang '#E0533A' 20 "$tmp/i.png";          png "$tmp/i.png" "$out/Common/QOR_Home_Error.png"
badge info "$BLUE" 20 "$tmp/i.png";            png "$tmp/i.png" "$out/Common/QOR_Home_Message.png"
badge disks "$ACCENT_DARK" 20 "$tmp/i.png";    png "$tmp/i.png" "$out/Common/XP.png"
badge plus "$ACCENT_BRIGHT" 20 "$tmp/i.png";   png "$tmp/i.png" "$out/Common/New.png"

# The scanning animation: an arc turning round a faint ring, eight frames of 80 ms, on white.
spin=()
for i in 0 1 2 3 4 5 6 7; do
  arc=$(arcdots 32 32 25 $(( i * 45 )) $(( i * 45 + 120 )) 9)
  im -size 64x64 xc:white -fill none -stroke '#D5E9DD' -strokewidth 9 -draw "circle 32,32 32,7" \
     -stroke none -fill "$ACCENT" -draw "$arc" -resize 16x16 "$tmp/spin-$i.png"
  spin+=("$tmp/spin-$i.png")
done
im -delay 8 -loop 0 "${spin[@]}" -strip -layers Optimize "$out/Common/QOR_Scanning.gif"

# --- page pictures -------------------------------------------------------------------------------
# Header icons of the pages.
badge sparkle "$ACCENT" 48 "$tmp/i.png";      png "$tmp/i.png" "$out/Dialog/QOR_Home_Dlg_Top.png"
badge eye "$ACCENT" 64 "$tmp/i.png";          png "$tmp/i.png" "$out/Dialog/QOR_Evidence_Clean_Dlg_Top.png"
badge gear "$ACCENT" 48 "$tmp/i.png";         png "$tmp/i.png" "$out/Dialog/QOR_Options_Dlg_Top.png"
badge disks "$ACCENT" 48 "$tmp/i.png";        png "$tmp/i.png" "$out/Dialog/QOR_Registry_Backup_Dlg_Top.png"
badge star "$ACCENT" 48 "$tmp/i.png";         png "$tmp/i.png" "$out/Dialog/QOR_Favorites_Backup_Dlg_Top.png"
# A program without an icon of its own, in the startup manager's detail pane.
glyph window '#6F8579' 32 "$tmp/i.png"; png "$tmp/i.png" "$out/Dialog/QOR_Startup_Manager_Dlg_Ico.png"

# Thin rules of the about box, fading out at both ends.
rule() {  # <width> <file>
  im -size 2x$(( $1 / 2 )) gradient:'rgba(0,141,66,0)'-"$ACCENT" -rotate -90 \
     \( +clone -flop \) +append -resize "$1x2!" "$2"
}
rule 180 "$tmp/r.png"; png "$tmp/r.png" "$out/Dialog/QOR_Line_Short.png"
rule 300 "$tmp/r.png"; png "$tmp/r.png" "$out/Dialog/QOR_Line_Long.png"

# Panels drawn behind page content at (8, 53): light, with a thin frame.
panel() {  # <width> <height> <file>
  im -size "$1x$2" xc:white -fill '#F7FBF9' -stroke '#D6E6DC' -draw "roundrectangle 0,0 $(( $1 - 1 )),$(( $2 - 1 )) 6,6" "$3"
}
# The home page's status block: the picture at (10, 10), the status texts from x = 128.
glyph shield "$ACCENT" 70 "$tmp/home-shield.png"
im -size 553x100 xc:white -fill '#F1F9F4' -stroke '#CFE6D8' -draw "roundrectangle 0,0 552,99 8,8" -stroke none \
   -fill '#DDF1E5' -draw "circle 58,50 58,8" -fill white -draw "circle 58,50 58,13" \
   "$tmp/home-shield.png" -geometry +23+15 -composite "$tmp/home.png"
png "$tmp/home.png" "$out/Dialog/QOR_Home_Image_BG.png"
# The registry cleaner's category panel: three bands of five categories.
panel 553 335 "$tmp/p.png"
im "$tmp/p.png" -quality 93 -sampling-factor 1x1 "$out/Dialog/QOR_ScanNow_BG.jpg"
# The registry scan panel: a band for the problem count and the elapsed time, the categories below.
im -size 553x240 xc:white -fill '#F7FBF9' -stroke '#D6E6DC' -draw "roundrectangle 0,0 552,239 6,6" -stroke none \
   -fill '#E8F5ED' -draw "roundrectangle 1,1 551,30 6,6" -draw "rectangle 1,20 551,30" \
   -fill '#D6E6DC' -draw "line 1,31 551,31" "$tmp/p.png"
im "$tmp/p.png" -quality 93 -sampling-factor 1x1 "$out/Dialog/QOR_Scan_Dlg_BG.jpg"
# The results band: the problem count beside a warning mark; the list lies below it.
badge bang '#E0533A' 20 "$tmp/warn.png"
im -size 553x30 xc:white -fill '#FBEFEC' -stroke '#EBCFC8' -draw "roundrectangle 0,0 552,29 6,6" -stroke none \
   "$tmp/warn.png" -geometry +16+5 -composite "$tmp/p.png"
im "$tmp/p.png" -quality 93 -sampling-factor 1x1 "$out/Dialog/QOR_Results_Dlg_BG.jpg"

# --- the trace cleaner's tree --------------------------------------------------------------------
# The pictures of the three browser groups of the trace categories, 16 x 16 (drawn at 64 and
# reduced, for smooth edges): a red globe with its meridians, a globe crossed by a wave, and
# three small globes for the other browsers.
tree_icon() {  # <file> <draw...>
  local file=$1; shift
  im -size 64x64 xc:none "$@" -resize 16x16 "$tmp/tree.png"
  png "$tmp/tree.png" "$file"
}
tree_icon "$out/Dialog/QOR_Tree_Chrome.png" \
  -fill '#D9413A' -draw "circle 32,32 32,3" \
  -fill none -stroke white -strokewidth 4 -draw "ellipse 32,32 13,28 0,360" -draw "line 4,32 60,32" \
  -draw "line 9,18 55,18" -draw "line 9,46 55,46" -stroke '#A82C26' -strokewidth 3 -draw "circle 32,32 32,4"
tree_icon "$out/Dialog/QOR_Tree_Edge.png" \
  -fill '#1B8FA8' -draw "circle 32,32 32,3" \
  -fill none -stroke white -strokewidth 6 -draw "bezier 8,40 22,22 40,50 56,26" \
  -stroke '#8FDCE6' -strokewidth 3 -draw "ellipse 32,32 12,28 0,360"
tree_icon "$out/Dialog/QOR_Tree_Browsers.png" \
  -fill '#E8912D' -stroke '#B86A14' -strokewidth 3 -draw "circle 20,22 20,5" \
  -fill '#7A5BC4' -stroke '#56399E' -draw "circle 44,22 44,5" \
  -fill '#008D42' -stroke '#00552A' -draw "circle 32,44 32,27"

# --- the optimizer pages -------------------------------------------------------------------------
# "Optimize" on the system and application optimizer pages: a primary action, as tall as
# "Start Scan".
push_button "$out/Common/QOR_Button_Optimize.bmp" primary 29 gauge 'Optimize'
