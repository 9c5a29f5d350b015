#!/usr/bin/env bash
# End to end, as a person uses the program: the real binary on a virtual display of its own,
# driven by real X input. Every menu title and every item that opens a dialog or changes
# something is clicked, every toolbar button too, each tool draws, and each step checks what
# the screen then shows. The places to click come from the program's own report
# (SKOREL_UI_REPORT), never from fixed offsets.
set -euo pipefail
skorel=$(realpath "$1")
dragger=$(realpath "$2")

here=$(dirname "$0")
. "$here/../../scripts/display.sh"
. "$here/ui.sh"
for tool in Xvfb xdotool convert import; do
  command -v "$tool" >/dev/null || fail "$tool is missing"
done

# A drawing to start with: one rectangle (700, 450)-(900, 550), black on white, 1 pixel.
{ le32 1; for v in 700 450 900 550 2 0 16777215 1; do le32 "$v"; done; } >"$work/start.skr"
# A picture of another format: 40 × 40 black pixels.
convert -size 40x40 xc:black "$work/dark.png"
# A picture larger than the canvas: 2400 × 1800, black, with a white square near its far corner.
convert -size 2400x1800 xc:black -fill white -draw 'rectangle 2200,1600 2350,1750' "$work/big.png"
# A larger one, to drop on the window.
convert -size 300x300 xc:black "$work/drop.png"

start_display 1600x1200 || fail "no display"
start_skorel "$skorel" "$work/start.skr" || fail "no main window"

walk <<TABLE
# The tools draw what they show: each button shows pressed, then its shape is on the canvas.
button 사각형               | pressed 사각형
drag 100 100 300 220        | dark 100 160; dark 299 160; caption ^start.skr\\* - Skorel$
# After a pause the window has let its pixels go; the next drag draws on them painted again.
rest 3
drag 100 250 340 370        | dark 100 300; dark 339 300; white 220 300; white 200 160
button 타원                 | pressed 타원
drag 400 100 600 250        | dark 500 100
button 직선                 | pressed 직선
drag 100 400 500 450        | dark 300 425
# The thickness menu checks its item, and the next line is 7 pixels wide.
menu 굵기 7                 | checked 굵기 7
drag 100 600 500 600        | dark 300 597; dark 300 603; white 300 607
menu 굵기 2                 | checked 굵기 2
menu 굵기 3                 | checked 굵기 3
menu 굵기 4                 | checked 굵기 4
menu 굵기 5                 | checked 굵기 5
menu 굵기 6                 | checked 굵기 6
menu 굵기 1                 | checked 굵기 1
# The thickness buttons, the [ and ] keys and their menu items move the check in the menu.
button 굵기_4               | pressed 굵기_4; checked 굵기 4
key bracketright            | pressed 굵기_5; checked 굵기 5
key bracketleft bracketleft | pressed 굵기_3; checked 굵기 3
button 굵기_7               | pressed 굵기_7
button 굵기_6               | pressed 굵기_6
button 굵기_5               | pressed 굵기_5
button 굵기_3               | pressed 굵기_3
button 굵기_2               | pressed 굵기_2; checked 굵기 2
menu 굵기 굵게              | pressed 굵기_3
menu 굵기 가늘게            | pressed 굵기_2
button 굵기_1               | pressed 굵기_1; checked 굵기 1
# The colour bar: a click gives the outline colour, a right click the fill colour, the pair
# shows them and new shapes get them; a double click on the pair opens the colour dialog.
swatch 17                   | pair line FF0000
swatch 21 right             | pair fill 0000FF
button 사각형               | pressed 사각형
drag 620 280 720 380        | colour 620 300 FF0000; colour 670 300 0000FF
pair line                   | dialog ^색.선택$ Escape
pair fill                   | dialog ^색.선택$ Escape
# With a shape selected, a swatch and the thickness keys restyle it; the undo and redo
# buttons take that back and bring it again.
button 선택                 | pressed 선택
click 670 330
swatch 19                   | colour 620 300 00FF00
button 실행_취소            | colour 620 300 FF0000
button 다시_실행            | colour 620 300 00FF00
key bracketright bracketright | colour 621 300 00FF00
key bracketleft bracketleft | colour 621 300 0000FF
button 사각형               | pressed 사각형
swatch 0                    | pair line 000000
swatch 15 right             | pair fill FFFFFF
# A right click during a drag drops it: nothing is drawn.
rightdrop 800 650 900 720   | white 800 680; white 850 650
# The arrow tool grabs and moves a shape; the edit menu and its buttons copy, paste, undo,
# redo, cut and delete it.
button 선택                 | pressed 선택
drag 200 160 260 200        | dark 160 200; white 100 160
menu 편집 복사              | enabled 편집 붙여넣기
menu 편집 붙여넣기          | dark 170 265
menu 편집 취소              | white 170 265
menu 편집 다시_실행         | dark 170 265
menu 편집 잘라내기          | white 170 265
menu 편집 붙여넣기          | dark 180 275
menu 편집 삭제              | white 180 275
click 250 200
button 복사                 | enabled 편집 붙여넣기
button 붙여넣기             | dark 170 265
button 잘라내기             | white 170 265
# The keys do the same: copy, paste (one step further than the last paste), nudge, delete,
# undo, redo.
click 250 200
key ctrl+c ctrl+v           | dark 180 275
key shift+Right             | dark 190 275; white 180 275
key Delete                  | white 190 275
key ctrl+z                  | dark 190 275
key ctrl+y                  | white 190 275
# Many shapes at once: a rectangle from empty canvas selects the shapes inside it, and
# dragging one moves both; Shift and a click take one out; Escape deselects; Ctrl+A selects
# every shape and marks each.
button 사각형               | pressed 사각형
drag 900 700 980 760        | dark 900 730
drag 1000 700 1080 760      | dark 1000 730
button 선택                 | pressed 선택
drag 880 680 1100 780
drag 920 720 940 760        | dark 920 770; dark 1020 770; white 900 710
key ctrl+z                  | dark 900 730; dark 1000 730; white 920 770
with shift click 1040 700
drag 920 720 940 760        | dark 920 770; white 1020 770; dark 1000 730
key ctrl+z Escape           | dark 900 730
menu 편집 모두_선택         | colour 900 700 0078D7
key Escape                  | dark 900 700
# With Alt the rectangle takes every shape it touches; a click on empty canvas deselects.
with alt drag 890 690 950 720
drag 920 720 925 725        | dark 905 735
key ctrl+z                  | white 905 735
click 1200 1000
# Hollow shapes, front and back: a red box under a blue one comes in front and goes back;
# a box with no fill shows what lies under it; a copy in place lands 10 pixels on.
button 사각형               | pressed 사각형
swatch 17 right             | pair fill FF0000
drag 600 580 680 660        | colour 620 600 FF0000
swatch 21 right             | pair fill 0000FF
drag 640 620 720 700        | colour 660 640 0000FF
swatch 29 right
drag 690 640 750 690        | colour 700 670 0000FF; dark 730 640
button 선택                 | pressed 선택
click 610 590
key ctrl+shift+bracketright | colour 660 640 FF0000
key ctrl+shift+bracketleft  | colour 660 640 0000FF
menu 편집 앞으로            | colour 660 640 FF0000
menu 편집 뒤로              | colour 660 640 0000FF
menu 편집 맨_앞으로         | colour 660 640 FF0000
menu 편집 맨_뒤로           | colour 660 640 0000FF
key ctrl+bracketright       | colour 660 640 FF0000
key ctrl+bracketleft        | colour 660 640 0000FF
click 749 665
key ctrl+d                  | dark 759 675
menu 편집 복제              | dark 769 685
# A line's end moves alone; Shift draws a square.
button 직선                 | pressed 직선
drag 860 620 960 620        | dark 900 620
button 선택                 | pressed 선택
click 900 620
drag 960 620 990 660        | dark 925 640; white 950 620
button 사각형               | pressed 사각형
with shift drag 820 700 870 720 | dark 820 745
swatch 15 right             | pair fill FFFFFF
# The view menu hides and shows the bars.
menu 보기 도구_모음         | toolbar hidden
menu 보기 도구_모음         | toolbar shown
menu 보기 상태_표시줄       | statusbar hidden
menu 보기 상태_표시줄       | statusbar shown
# The status bar shows CAP while Caps Lock is on, followed as the key is pressed.
key Caps_Lock               | pane CAP
key Caps_Lock               | nopane CAP
menu 보기 색_상자           | colorbar hidden
menu 보기 색_상자           | colorbar shown
menu 보기 굵기_상자         | thicknessbar hidden; toolbar shown
menu 보기 굵기_상자         | thicknessbar shown
# Colours are chosen in a dialog.
button 선_색                | dialog ^색.선택$ Escape
button 채우기_색            | dialog ^색.선택$ Escape
# Files, printing and the About box, from the menus.
menu 파일 저장              | dialog ^다른.이름으로.저장$ type:$work/canvas Return; dialog ^Skorel$ Return; file $work/canvas.bmp 1440054; saved $work/canvas.bmp 160 200 dark; saved $work/canvas.bmp 790 590 white
menu 파일 다른_이름으로_저장 | dialog ^다른.이름으로.저장$ type:$work/kept.skr Return; file $work/kept.skr; caption ^kept.skr - Skorel$
# Save's picture refuses the drawing's name and takes the .bmp name it offers.
key ctrl+s                  | keys ^다른.이름으로.저장$ type:$work/kept.skr Return; dialog ^Skorel$ Return; dialog ^다른.이름으로.저장$ Return; dialog ^Skorel$ Return; file $work/kept.bmp 1440054; caption ^kept.skr - Skorel$
menu 파일 열기              | dialog ^열기$ Escape
menu 파일 인쇄              | dialog ^인쇄$ Escape
menu 파일 인쇄_미리_보기    | dialog ^인쇄.미리.보기$ Escape
menu 파일 인쇄_설정         | dialog ^인쇄.설정$ Escape
# A recent file opens in place of the drawing: its shapes alone, unmodified.
menu 파일 2_start.skr       | caption ^start.skr - Skorel$; dark 700 500; white 160 200
# New asks about a modified drawing first: Escape keeps it, 아니요 drops it, 예 saves it as
# a drawing; then the canvas is empty.
button 사각형               | pressed 사각형
drag 100 100 200 200        | dark 100 150; caption ^start.skr\\* - Skorel$
menu 파일 새_파일           | dialog ^Skorel$ Escape; caption ^start.skr\\* - Skorel$; dark 100 150
menu 파일 새_파일           | dialog ^Skorel$ alt+n; caption ^제목 없음 - Skorel$; white 100 150; white 700 500
drag 100 100 200 200        | dark 100 150; caption ^제목 없음\\* - Skorel$
button 새_파일              | dialog ^Skorel$ alt+y; dialog ^다른.이름으로.저장$ type:$work/asked.skr Return; file $work/asked.skr; caption ^제목 없음 - Skorel$; white 100 150
# Insert adds a file's shapes to the drawing as one step, keeping its name.
menu 파일 삽입              | dialog ^삽입$ type:$work/start.skr Return; dark 700 500; caption ^제목 없음\\* - Skorel$
key ctrl+z                  | white 700 500
key ctrl+i                  | dialog ^삽입$ type:$work/asked.skr Return; dark 100 150; white 700 500
menu 도움말 Skorel_정보     | dialog ^Skorel.정보$ Return
# The same from the toolbar.
button 열기                 | dialog ^열기$ Escape
button 저장                 | dialog ^다른.이름으로.저장$ Escape
button 인쇄                 | dialog ^인쇄$ Escape
button 정보                 | dialog ^Skorel.정보$ Return
button 새_파일              | dialog ^Skorel$ alt+n; caption ^제목 없음 - Skorel$; white 100 150
key ctrl+i                  | dialog ^삽입$ type:$work/start.skr Return; dark 700 500
button 지우개               | white 700 500
key ctrl+z                  | dark 700 500
# A PNG opens in place of the drawing, after the question; Insert puts shapes over it. The
# drawing exports as it looks (with the box ticked, as it starts, the picture's area; without,
# the whole canvas) and copies the picture's area to the clipboard as a picture, which pastes
# back under the shapes as one step.
menu 파일 열기              | dialog ^열기$ type:$work/dark.png Return; dialog ^Skorel$ alt+n; dark 20 20; white 700 500; caption ^dark.png - Skorel$
key ctrl+i                  | dialog ^삽입$ type:$work/start.skr Return; dark 700 500; dark 20 20; caption ^dark.png\\* - Skorel$
menu 파일 내보내기          | dialog ^내보내기$ type:$work/whole.png alt+a Return; picture $work/whole.png 1280 1024; saved $work/whole.png 20 20 dark; saved $work/whole.png 700 500 dark; saved $work/whole.png 1270 1014 white
key ctrl+shift+e            | dialog ^내보내기$ type:$work/part.png alt+a Return; picture $work/part.png 40 40; saved $work/part.png 20 20 dark
key ctrl+shift+e            | dialog ^내보내기$ type:$work/shapes.svg Return; file $work/shapes.svg
menu 편집 그림_복사         | enabled 편집 붙여넣기
menu 편집 붙여넣기          | dark 700 500; dark 20 20
button 지우개               | white 700 500; dark 20 20
key ctrl+z                  | dark 700 500
# Zoom, by key and from the view menu: a shape drawn at 200 % lies on the canvas pixels under
# the pointer, and shows so at 100 % again.
key ctrl+plus               | zoom 150
menu 보기 확대              | zoom 200
button 사각형               | pressed 사각형
drag 400 300 480 360        | dark 440 300; white 440 330; dark 479 330
key ctrl+minus              | zoom 150
key ctrl+equal              | zoom 200
menu 보기 축소              | zoom 150
menu 보기 실제_크기         | zoom 100; dark 440 300; white 440 330; dark 479 330
key ctrl+minus              | zoom 67
key ctrl+0                  | zoom 100
# Ctrl and the wheel zoom in and out with the pointer on the canvas.
ctrlwheel 440 300 in        | zoom 150; dark 440 300
ctrlwheel 440 300 out       | zoom 100; dark 440 300
# Files dropped from another program open as Open opens them, after the question about a
# modified drawing; of several, the first opens and the status bar says the others were left.
# With Ctrl held a file goes into the drawing as Insert puts it there.
drop 640 500 $work/drop.png $work/start.skr | dialog ^Skorel$ alt+n; caption ^drop.png - Skorel$; dark 80 200; message 나머지.1개
drop 640 500 $work/dark.png | caption ^dark.png - Skorel$; white 80 200; white 700 500
ctrldrop 640 500 $work/start.skr | caption ^dark.png\\* - Skorel$; dark 700 500
# A picture larger than the canvas makes it larger, shown whole; fit to window shows all of it.
menu 파일 열기              | dialog ^열기$ type:$work/big.png Return; dialog ^Skorel$ alt+n; caption ^big.png - Skorel$; zoom 100
key ctrl+9                  | zoom 33; dark 20 20; dark 2390 1790; white 2300 1700
menu 보기 실제_크기         | zoom 100
menu 보기 창에_맞추기       | zoom 33
key ctrl+0                  | zoom 100
button 사각형               | pressed 사각형
drag 1100 850 1300 950      | dark 1100 900; caption ^big.png\\* - Skorel$
# Closing asks first: Escape keeps the window, 아니요 ends the program.
menu 파일 종료              | dialog ^Skorel$ Escape; caption ^big.png\\* - Skorel$
menu 파일 종료              | dialog ^Skorel$ alt+n; ends 0
TABLE
grep -q "ERROR: AddressSanitizer\|runtime error:" "$work/skorel.log" && { cat "$work/skorel.log"; fail "sanitizer finding"; }
echo "e2e: walked every menu, button and tool"
