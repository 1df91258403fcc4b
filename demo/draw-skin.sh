#!/bin/bash
# Draws the demo skin into <player dir>/skin and writes <player dir>/resource.data.
# Every picture is drawn here with ImageMagick; nothing is taken from elsewhere.
# Design size of the main window: 1260 x 800 (start-up shrinks it to the screen).
set -eu

OUT=${1:?usage: draw-skin.sh <player dir>}
FONT=${TOVALI_DEMO_FONT:-/usr/share/fonts/truetype/wqy/wqy-microhei.ttc}
SKIN="$OUT/skin"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$SKIN"

W=1260
H=800
KEY='rgb(0,60,0)'         # the colour key: definition value 15360
CREAM='#FFF8E6'           # main area and the declaration
MENU='#FFEDC4'            # menu band behind the category tiles
MEADOW='#E4F5D2'          # footer and tip band
ORANGE='#FF9F43'          # left end of the frame
PINK='#FF6B8B'            # right end of the frame
INK='#6B4226'             # brown text on light ground

im() { convert "$@"; }

# ---------------------------------------------------------------- frame and background
# The frame layer: title band on top, 5-px borders left, right and bottom, rounded
# outer corners cut out with a hard edge (no half-transparent pixels near the key).
# Horizontal gradient: flat orange on the left (behind logo and title), flat pink on
# the right (behind the frame buttons), a smooth change between.
im -size 500x${H} xc:"$ORANGE" \
   \( -size ${H}x460 gradient:"$ORANGE"-"$PINK" -rotate -90 \) +append \
   \( -size 300x${H} xc:"$PINK" \) +append "$WORK/band.png"
im -size ${W}x${H} xc:black +antialias -fill white \
   -draw "roundrectangle 0,0 $((W - 1)),$((H - 1)) 12,12" "$WORK/outline.png"
im -size ${W}x${H} xc:black -fill white \
   -draw "rectangle 0,0 $((W - 1)),20" \
   -draw "rectangle 0,0 4,$((H - 1))" \
   -draw "rectangle $((W - 5)),0 $((W - 1)),$((H - 1))" \
   -draw "rectangle 0,$((H - 5)) $((W - 1)),$((H - 1))" "$WORK/frame-mask.png"
im "$WORK/frame-mask.png" "$WORK/outline.png" -compose multiply -composite "$WORK/frame-alpha.png"
im "$WORK/band.png" "$WORK/frame-alpha.png" -alpha off -compose copy-opacity -composite \
   -fill 'rgba(255,255,255,0.35)' -draw "rectangle 0,$((H - 5)) $((W - 1)),$((H - 4))" \
   "PNG32:$WORK/frame.png"

im "$WORK/frame.png" -crop ${W}x21+0+0 +repage "PNG32:$SKIN/title_band.png"
im "$WORK/frame.png" -crop 5x$((H - 21))+0+21 +repage "PNG32:$SKIN/border_left.png"
im "$WORK/frame.png" -crop 5x$((H - 21))+$((W - 5))+21 +repage "PNG32:$SKIN/border_right.png"
im "$WORK/frame.png" -crop $((W - 10))x5+5+$((H - 5)) +repage "PNG32:$SKIN/border_bottom.png"

# The body: a pale yellow menu band, cream behind the movie and list, a meadow
# under the footer with a few flowers where no control sits. Controls sit on
# flat colour only, so their tiles match the ground at any window size.
MEADOW_TOP=$((H - 125))
flower() { # x y petal-colour
  printf -- '-fill "%s" -draw "circle %d,%d %d,%d" ' "$3" $(($1 - 5)) "$2" $(($1 - 5)) $(($2 + 4))
  printf -- '-draw "circle %d,%d %d,%d" ' $(($1 + 5)) "$2" $(($1 + 5)) $(($2 + 4))
  printf -- '-draw "circle %d,%d %d,%d" ' "$1" $(($2 - 5)) "$1" $(($2 - 1))
  printf -- '-draw "circle %d,%d %d,%d" ' "$1" $(($2 + 5)) "$1" $(($2 + 9))
  printf -- '-fill "#FFD54F" -draw "circle %d,%d %d,%d" ' "$1" "$2" "$1" $(($2 + 3))
}
grass() { # x y
  printf -- '-stroke "#8BC34A" -strokewidth 2 -draw "line %d,%d %d,%d" -draw "line %d,%d %d,%d" -stroke none ' \
    "$1" "$2" $(($1 - 4)) $(($2 - 10)) "$1" "$2" $(($1 + 5)) $(($2 - 12))
}
eval "set -- $(flower 230 758 '#F48FB1') $(grass 262 772) $(flower 318 750 '#90CAF9') \
  $(grass 360 770) $(flower 410 760 '#FFAB91') $(flower 520 752 '#CE93D8') $(grass 556 771) \
  $(flower 610 762 '#F48FB1') $(grass 648 768)"
im -size ${W}x${H} xc:"$CREAM" \
   -fill "$MENU" -draw "rectangle 0,21 $((W - 1)),100" \
   -fill "$MEADOW" -draw "rectangle 0,$MEADOW_TOP $((W - 1)),$((H - 1))" \
   "$@" "$WORK/body.png"
im "$WORK/body.png" "$WORK/frame.png" -compose over -composite \
   "$WORK/outline.png" -alpha off -compose copy-opacity -composite \
   -background "$KEY" -alpha remove "$WORK/main-rgba.png"
im "$WORK/main-rgba.png" -alpha off -type TrueColor "PNG24:$SKIN/main_bg.png"

# Logo: a smiling sun on the title band.
im -size 18x18 xc:none -fill '#FFE066' -stroke '#FFFFFF' -strokewidth 1 \
   -draw "circle 9,9 9,2" -stroke none -fill "$INK" \
   -draw "point 7,8" -draw "point 11,8" -draw "point 7,7" -draw "point 11,7" \
   -stroke "$INK" -fill none -draw "arc 6,8 12,13 20,160" "PNG32:$SKIN/logo.png"

# The title and tip labels paint their own ground; it matches the band behind them.
im -size 320x21 xc:"$ORANGE" "PNG24:$SKIN/title_label.png"
im -size 900x20 xc:"$MEADOW" "PNG24:$SKIN/tip_label.png"

# ---------------------------------------------------------------- frame buttons (30 x 21)
frame_button() { # name fill glyph-draw
  im -size 30x21 xc:"$PINK" -fill "$2" -stroke none -draw "roundrectangle 4,2 25,18 6,6" \
     -stroke white -strokewidth 2 -fill none -draw "$3" "PNG24:$SKIN/$1.png"
}
for state in base active press; do
  case $state in base) f='#FF8AA3' ;; active) f='#FF4D6D' ;; press) f='#D93A58' ;; esac
  frame_button "close_$state" "$f" "line 11,6 18,14 line 18,6 11,14"
  case $state in base) f='#FF8AA3' ;; active) f='#FFB347' ;; press) f='#E08A1E' ;; esac
  frame_button "min_$state" "$f" "line 10,12 19,12"
done

# ---------------------------------------------------------------- category tiles (64 x 76)
# One flat pastel per category; hover brightens it with a golden rim, pressed and
# checked deepen it and turn the name white.
tile() { # file fill rim text-colour icon-draw-args... ; name comes from $NAME
  local file=$1 fill=$2 rim=$3 ink=$4
  shift 4
  im -size 64x76 xc:"$MENU" -fill "$fill" -stroke "$rim" -strokewidth 2 \
     -draw "roundrectangle 2,2 61,73 11,11" -stroke none "$@" -stroke none -strokewidth 1 \
     -font "$FONT" -pointsize 12 -fill "$ink" -gravity south -annotate +0+6 "$NAME" \
     "PNG24:$file"
}

# Sets ICON to the drawing arguments of a category's picture on a 64 x 76 tile;
# $1 is the code, $2 the tile's fill (the moon is cut out with it).
icon_args() {
  local F=$FONT
  case $1 in
    01) ICON=(-fill '#FFFFFF' -stroke '#8D6E63' -strokewidth 1.5
              -draw 'polygon 12,16 31,20 31,44 12,40' -draw 'polygon 52,16 33,20 33,44 52,40'
              -draw 'line 16,24 28,27' -draw 'line 16,30 28,33' -draw 'line 36,27 48,24' -draw 'line 36,33 48,30') ;;
    02) ICON=(-fill '#FFF3C4' -stroke '#A1887F' -strokewidth 1.5 -draw 'rectangle 16,14 48,42'
              -fill '#C98B5B' -draw 'roundrectangle 12,11 52,16 3,3' -draw 'roundrectangle 12,40 52,45 3,3'
              -stroke none -fill '#C0392B' -font "$F" -pointsize 18 -draw "text 23,36 '成'") ;;
    03) ICON=(-fill '#FFD54F' -stroke '#E0A100' -strokewidth 1.5
              -draw 'polygon 14,42 14,18 23,28 32,12 41,28 50,18 50,42'
              -fill '#E57373' -stroke none -draw 'circle 32,34 32,31'
              -fill '#64B5F6' -draw 'circle 21,36 21,34' -draw 'circle 43,36 43,34') ;;
    04) ICON=(-fill '#FFE082' -stroke none -draw 'circle 30,28 30,12' -fill "$2" -draw 'circle 37,24 37,10'
              -fill '#FFFFFF' -draw 'polygon 46,30 48,35 53,35 49,38 51,43 46,40 41,43 43,38 39,35 44,35') ;;
    05) ICON=(-fill '#5C6BC0' -stroke '#5C6BC0' -strokewidth 3 -draw 'line 37,14 37,36' -draw 'line 37,14 47,19'
              -stroke none -draw 'ellipse 31,37 7,5 0,360') ;;
    06) ICON=(-fill '#FFB74D' -stroke '#E65100' -strokewidth 1.5 -draw 'path "M 20,38 Q 20,14 32,13 Q 44,14 44,38 Z"'
              -fill '#E65100' -draw 'circle 32,41 32,38' -draw 'line 17,38 47,38') ;;
    07) ICON=(-fill '#FFCA28' -stroke '#8D6E63' -strokewidth 1.5 -draw 'polygon 18,40 40,14 48,21 26,47 16,49'
              -fill '#F48FB1' -draw 'polygon 40,14 44,10 52,17 48,21'
              -fill '#5D4037' -stroke none -draw 'polygon 16,49 18,44 21,47') ;;
    08) ICON=(-fill '#FFFFFF' -stroke '#42A5F5' -strokewidth 1.5 -draw 'roundrectangle 10,14 54,44 10,10'
              -stroke none -fill '#1E88E5' -font "$F" -pointsize 18 -draw "text 15,36 'aoe'") ;;
    09) ICON=(-fill '#4FC3F7' -stroke '#0277BD' -strokewidth 1.5 -draw 'circle 32,29 32,13'
              -fill '#81C784' -stroke none -draw 'ellipse 27,24 6,5 0,360' -draw 'ellipse 38,35 5,4 0,360'
              -fill none -stroke '#0277BD' -strokewidth 1 -draw 'ellipse 32,29 7,16 0,360' -draw 'line 16,29 48,29') ;;
    10) ICON=(-stroke '#FFFFFF' -strokewidth 1.5 -fill '#EF5350' -draw 'rectangle 14,30 30,46'
              -fill '#42A5F5' -draw 'rectangle 32,30 48,46' -fill '#FFCA28' -draw 'rectangle 23,13 39,29') ;;
    11) ICON=(-fill '#FFFFFF' -stroke none -draw 'circle 32,29 32,12'
              -fill '#E53935' -font "$F" -pointsize 17 -draw "text 17,35 '1+2'") ;;
    12) ICON=(-fill '#FFFFFF' -stroke '#E57373' -strokewidth 1.5 -draw 'rectangle 16,12 48,44'
              -strokewidth 0.8 -draw 'line 32,12 32,44' -draw 'line 16,28 48,28'
              -stroke none -fill '#C62828' -font "$F" -pointsize 22 -draw "text 21,37 '字'") ;;
    13) ICON=(-stroke none -font "$F" -pointsize 19 -fill '#E53935' -draw "text 11,36 'A'"
              -fill '#43A047' -draw "text 25,36 'B'" -fill '#1E88E5' -draw "text 39,36 'C'") ;;
    14) ICON=(-fill '#8E24AA' -stroke '#8E24AA' -strokewidth 3 -draw 'line 27,15 27,36' -draw 'line 45,12 45,33'
              -draw 'line 27,15 45,12' -stroke none -draw 'ellipse 22,37 6,4 0,360' -draw 'ellipse 40,34 6,4 0,360') ;;
    15) ICON=(-fill '#80CBC4' -stroke '#00796B' -strokewidth 1.5 -draw 'path "M 32,11 L 48,17 Q 48,38 32,46 Q 16,38 16,17 Z"'
              -stroke none -fill '#FFFFFF' -font "$F" -pointsize 20 -draw "text 28,38 '!'") ;;
  esac
}

# code item image-prefix name base-fill deep-fill
CATEGORIES='01 MENU_BTN_XIAOGUSHI xiaogushi 小故事 #FFD6D6 #F2798B
02 MENU_BTN_CHENGYUGUSHI chengyugushi 成语故事 #FFE3C2 #F5A25D
03 MENU_BTN_TONGHUAGUSHI tonghuagushi 童话故事 #FFF1B8 #E8B730
04 MENU_BTN_GUDIANSHENHUA gudianshenhua 古典神话 #C9D7FF #6C7FD8
05 MENU_BTN_ZHONGWENERGE zhongwenerge 中文儿歌 #E0DAFF #8F7BE0
06 MENU_BTN_ZHONGWENTONGYAO zhongwentongyao 中文童谣 #FFE0CC #EE8B55
07 MENU_BTN_XUEGUSHI xuegushi 学故事 #D7F5D0 #66BB6A
08 MENU_BTN_XUEPINYIN xuepinyin 学拼音 #D2F0FF #42A5F5
09 MENU_BTN_BAIKECHANGSHI baikechangshi 百科常识 #CFF3EA #26A69A
10 MENU_BTN_YIZHIYOUXI yizhiyouxi 益智游戏 #FFE6F0 #EC6F9E
11 MENU_BTN_SHUXUEYOUXI shuxueyouxi 数学游戏 #FFF4CC #F0B429
12 MENU_BTN_YUWENYOUXI yuwenyouxi 语文游戏 #FFDCDC #E57373
13 MENU_BTN_YOUERYINGYU youeryingyu 幼儿英语 #DDF4C8 #7CB342
14 MENU_BTN_YINGWENERGE yingwenerge 英文儿歌 #EBDDFB #AB77E0
15 MENU_BTN_SHENGMING shengming 免责声明 #D5F2EF #4DB6AC'

while read -r code item prefix NAME light deep; do
  for state in base active press; do
    case $state in
      base) fill=$light rim='#FFFFFF' ink=$INK ;;
      active) fill=$light rim='#FFC83D' ink=$INK ;;
      press) fill=$deep rim='#FFFFFF' ink='#FFFFFF' ;;
    esac
    icon_args "$code" "$fill"
    tile "$SKIN/menu_${prefix}_$state.png" "$fill" "$rim" "$ink" "${ICON[@]}"
    if [ $state = active ]; then
      im "$SKIN/menu_${prefix}_$state.png" -fill 'rgba(255,255,255,0.15)' \
         -draw "roundrectangle 4,4 59,71 10,10" "PNG24:$SKIN/menu_${prefix}_$state.png"
    fi
  done
done <<EOF
$CATEGORIES
EOF

# ---------------------------------------------------------------- play, mute (28 x 28)
round_button() { # file fill glyph-draw...
  local file=$1 fill=$2
  shift 2
  im -size 28x28 xc:"$MEADOW" -fill "$fill" -stroke '#FFFFFF' -strokewidth 2 \
     -draw "circle 14,14 14,2" -stroke none -fill white "$@" "PNG24:$file"
}
for state in base active press; do
  case $state in base) f='#FF8A65' ;; active) f='#FFA726' ;; press) f='#F4511E' ;; esac
  round_button "$SKIN/play_$state.png" "$f" -draw "polygon 11,8 21,14 11,20"
  round_button "$SKIN/pause_$state.png" "$f" -draw "rectangle 9,8 12,20" -draw "rectangle 16,8 19,20"
  case $state in base) f='#4FC3F7' ;; active) f='#29B6F6' ;; press) f='#0288D1' ;; esac
  round_button "$SKIN/sound_$state.png" "$f" -draw "polygon 7,11 10,11 15,7 15,21 10,17 7,17" \
     -fill none -stroke white -strokewidth 1.5 -draw "arc 12,10 20,18 -60,60"
  round_button "$SKIN/muted_$state.png" "$f" -draw "polygon 7,11 10,11 15,7 15,21 10,17 7,17" \
     -fill none -stroke white -strokewidth 1.8 -draw "line 17,11 22,17" -draw "line 22,11 17,17"
done

# ---------------------------------------------------------------- link buttons
pill() { # file w h fill rim text size
  im -size "$2x$3" xc:"$MEADOW" -fill "$4" -stroke "$5" -strokewidth 2 \
     -draw "roundrectangle 1,1 $(($2 - 2)),$(($3 - 2)) $(($3 / 2 - 1)),$(($3 / 2 - 1))" \
     -stroke none -font "$FONT" -pointsize "$7" -fill white -gravity center -annotate +0+0 "$6" \
     "PNG24:$1"
}
for state in base active press; do
  case $state in base) f='#66BB6A' r='#FFFFFF' ;; active) f='#81C784' r='#FFC83D' ;; press) f='#388E3C' r='#FFFFFF' ;; esac
  pill "$SKIN/ad1_$state.png" 150 34 "$f" "$r" '育儿小知识' 15
  case $state in base) f='#7E8CE0' r='#FFFFFF' ;; active) f='#95A2EE' r='#FFC83D' ;; press) f='#5563C1' r='#FFFFFF' ;; esac
  pill "$SKIN/ad2_$state.png" 230 56 "$f" "$r" '♥ 儿童健康小百科' 18
  case $state in base) f='#66BB6A' r='#FFFFFF' ;; active) f='#81C784' r='#FFC83D' ;; press) f='#388E3C' r='#FFFFFF' ;; esac
  im -size 112x40 xc:"$CREAM" -fill "$f" -stroke "$r" -strokewidth 2 \
     -draw "roundrectangle 1,1 110,38 19,19" -stroke none -font "$FONT" -pointsize 17 \
     -fill white -gravity center -annotate +0+0 '我知道了' "PNG24:$SKIN/ok_$state.png"
done

# ---------------------------------------------------------------- declaration picture (420 x 320)
DW=420
DH=320
im -size ${DW}x${DH} xc:"$KEY" +antialias -fill "$PINK" \
   -draw "roundrectangle 0,0 $((DW - 1)),$((DH - 1)) 12,12" \
   -fill "$CREAM" -draw "rectangle 5,21 $((DW - 6)),$((DH - 6))" -antialias \
   -font "$FONT" -fill white -pointsize 14 -annotate +12+16 '声明' \
   -fill "#FFE066" -draw "circle 372,62 372,46" \
   -fill '#FFFFFF' -draw "ellipse 60,70 26,12 0,360" -draw "ellipse 82,64 20,12 0,360" \
   -fill "$INK" -pointsize 20 -annotate +150+70 '致家长和小朋友' \
   -pointsize 15 \
   -annotate +34+112 '本软件自带的演示动画都是由程序自动画出的，' \
   -annotate +34+136 '只用来展示播放器的功能，不涉及任何第三方作品。' \
   -annotate +34+160 '两个链接按钮会打开外部网页，网页内容由对方' \
   -annotate +34+184 '网站负责。请家长陪孩子一起观看，每次看一会儿' \
   -annotate +34+208 '就让眼睛休息一下。' \
   -fill '#9E7B5B' -pointsize 13 -annotate +34+236 '点击下面的按钮，就可以开始看动画啦！' \
   "$WORK/declare.png"
im "$WORK/declare.png" -alpha off -type TrueColor "PNG24:$SKIN/declare_bg.png"
frame_button "dclose_base" '#FF8AA3' "line 11,6 18,14 line 18,6 11,14"

# ---------------------------------------------------------------- resource.data
# UTF-16 LE with a byte-order mark and CR LF line ends. Values are single words.
one_state() { # item base active press
  printf '<%s><fnBaseBmp>%s</fnBaseBmp><fnActiveBmp>%s</fnActiveBmp><fnPressBmp>%s</fnPressBmp></%s>\n' \
    "$1" "$2" "$3" "$4" "$1"
}
button() { # item states... (each state names a QmOneStateBmp item)
  local item=$1
  shift
  printf '<%s><resourcePath>skin\\</resourcePath><statesBmp>%s</statesBmp></%s>\n' "$item" "$*" "$item"
}
picture() { # item image [extra keys]
  printf '<%s><resourcePath>skin\\</resourcePath><statesBmp>%s</statesBmp>%s</%s>\n' "$1" "$2" "${3:-}" "$1"
}
dialog_frame() { # close-prefix with-min
  printf '<bCloseBtn>1</bCloseBtn><fnCloseBaseBmp>skin\\%s_base.png</fnCloseBaseBmp>' "$1"
  printf '<fnCloseActiveBmp>skin\\close_active.png</fnCloseActiveBmp><fnClosePressBmp>skin\\close_press.png</fnClosePressBmp>\n'
  if [ "$2" = 1 ]; then
    printf '<bMinBtn>1</bMinBtn><fnMinBaseBmp>skin\\min_base.png</fnMinBaseBmp>'
    printf '<fnMinActiveBmp>skin\\min_active.png</fnMinActiveBmp><fnMinPressBmp>skin\\min_press.png</fnMinPressBmp>\n'
  fi
}

{
  echo 'Demo skin of the player. Generated by demo/draw-skin.sh; edit that script, not this file.'
  echo '<QmDialogInitDef>'
  echo '<IDD_TOVALI_DIALOG><nWidth>1260</nWidth><nHeight>800</nHeight><bTrans>1</bTrans><colorTrans>15360</colorTrans>'
  echo '<bCaption>1</bCaption><bResizeable>1</bResizeable><fnBackgroundBmp>skin\main_bg.png</fnBackgroundBmp>'
  dialog_frame close 1
  echo '</IDD_TOVALI_DIALOG>'
  echo "<IDD_QMDECLARE_DIALOG><nWidth>$DW</nWidth><nHeight>$DH</nHeight><bTrans>1</bTrans><colorTrans>15360</colorTrans>"
  echo '<bCaption>1</bCaption><fCaptionWidth>60</fCaptionWidth><bResizeable>0</bResizeable><fnBackgroundBmp>skin\declare_bg.png</fnBackgroundBmp>'
  dialog_frame dclose 0
  echo '</IDD_QMDECLARE_DIALOG>'
  echo '</QmDialogInitDef>'

  echo '<QmStaticInitDef>'
  picture NAV_PIC_LOGO logo.png
  picture NAV_PIC_BK_TITLE title_band.png
  picture FRAME_PIC_BODER_LEFT border_left.png
  picture FRAME_PIC_BODER_RIGHT border_right.png
  picture FRAME_PIC_BODER_BOTTOM border_bottom.png
  picture NAV_STATIC_TITLE title_label.png \
    '<text>小小动画屋·陪你快乐学习</text><colorText>16777215</colorText><fontName>宋体</fontName><nFontSize>13</nFontSize>'
  picture NAV_STATIC_BOTTOM_TIP tip_label.png '<fontName>宋体</fontName><nFontSize>12</nFontSize>'
  echo '</QmStaticInitDef>'

  echo '<QmMultiStateButtonInitDef>'
  while read -r code item prefix name light deep; do
    button "$item" "BMP_MENU_$code"
  done <<EOF
$CATEGORIES
EOF
  button FLASH_BTN_PLAY BMP_PLAY BMP_PAUSE
  button FLASH_BTN_MUTE BMP_SOUND BMP_MUTED
  button QM_BTN_AD1 BMP_AD1
  button QM_BTN_AD2 BMP_AD2
  button QM_BTN_OK BMP_OK
  echo '</QmMultiStateButtonInitDef>'

  echo '<QmOneStateBmp>'
  while read -r code item prefix name light deep; do
    one_state "BMP_MENU_$code" "menu_${prefix}_base.png" "menu_${prefix}_active.png" "menu_${prefix}_press.png"
  done <<EOF
$CATEGORIES
EOF
  for pair in PLAY:play PAUSE:pause SOUND:sound MUTED:muted AD1:ad1 AD2:ad2 OK:ok; do
    one_state "BMP_${pair%%:*}" "${pair#*:}_base.png" "${pair#*:}_active.png" "${pair#*:}_press.png"
  done
  echo '</QmOneStateBmp>'
} | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$WORK/resource.body"
printf '\377\376' | cat - "$WORK/resource.body" >"$OUT/resource.data"
