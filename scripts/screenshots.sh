#!/usr/bin/env bash
# Pictures of every page, menu and dialog of the program, in English and in Chinese:
#   bash scripts/screenshots.sh [OUT_DIR]        (default: build/screenshots)
# Starts build/bin/orvane-g7 --simulate (G7_PROGRAM overrides it) on its own Xvfb with a
# tray host, from a private copy of the program and its data folder (the build tree is never
# written) and a private XDG_RUNTIME_DIR, clicks its way through the page with xdotool and
# writes one PNG of the window per step to OUT_DIR (LANG-NN-what.png), and main-page-small.png,
# the README's docs/main-page.png. Needs Xvfb, trayer, xdotool, ImageMagick.
#
# Positions are the page's own (the window is 1000 x 640, frameless); each step names the
# element it clicks by its objectName in the QML pages. The recoil editor (gunControlMain) is
# not reachable: the main page keeps its button (gunBtn) hidden, so it has no picture.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${G7_PROGRAM:-$root/build/bin/orvane-g7}
out=$(realpath -m "${1:-$root/build/screenshots}")
[ -x "$program" ] || { echo "no program at $program; build first (scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb trayer xdotool import; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid='' tray_pid='' app_pid=''
stop() { # only what this script started, by its own ids
    for pid in $app_pid $tray_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap stop EXIT
# shellcheck source=scripts/xsession.sh
. "$root/scripts/xsession.sh"
xsession_start "$work"

origin_x=0 origin_y=0 lang='' wid='' previous=''

# The program's page window: its only visible 1000 x 640 one. A search by name or class also finds the
# tray icon and the notice balloon, and the title is the language's own.
page_window() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" = 1000 ] && [ "$HEIGHT" = 640 ]; then echo "$w"; return 0; fi
    done
    return 1
}

# start LANG (en|zh): a fresh copy of the program and its data, the window found, its origin read.
start() {
    lang=$1
    local copy=$work/app-$lang
    rm -rf "$copy" && mkdir -p "$copy"
    cp "$program" "$copy/" && cp -r "$(dirname "$program")/modules" "$copy/"
    local language=English
    [ "$lang" = zh ] && language=ChineseSimplified
    sed -i "s/^language=.*/language=$language/" "$copy/modules/setting/apConfig.bin"
    "$copy/$(basename "$program")" --simulate >"$work/program-$lang.log" 2>&1 &
    app_pid=$!
    wid=''
    for _ in $(seq 100); do
        wid=$(page_window) && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "the window did not show; see $work/program-$lang.log" >&2; cat "$work/program-$lang.log" >&2; exit 1; }
    # Away from the tray host, whose notice balloon ("Detect Mouse!") would cover the page's corner.
    xdotool windowmove "$wid" 280 160
    sleep 0.1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    origin_x=$X origin_y=$Y
    xdotool mousemove $((origin_x + 600)) $((origin_y + 600))
}

# Ends the running copy; a copy started next begins from a closed page.
finish() {
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=''
}

# shot NAME: the window's area of the screen as OUT_DIR/LANG-NAME.png, after the page settled.
shot() {
    sleep "${settle:-0.5}"
    locate
    local file=$out/$lang-$1.png
    import -window root -crop "1000x640+$origin_x+$origin_y" +repage "$file"
    # Each step changes the page: a shot of the wrong size, or the same as the one before, is a wrong picture.
    local size
    size=$(identify -format '%wx%h' "$file")
    [ "$size" = 1000x640 ] || { echo "$file is $size, not 1000x640" >&2; exit 1; }
    if [ -n "$previous" ] && [ "$(compare -metric AE "$previous" "$file" null: 2>&1 || true)" = 0 ]; then
        echo "$file shows the same as $previous: the step did not reach the page" >&2
        exit 1
    fi
    previous=$file
    echo "$file"
}
# The window's origin now. A drag on the page moves the window, at times partly off the screen
# (then the shot came out cropped), so it goes back to its place first.
locate() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    if [ "$X" != 280 ] || [ "$Y" != 160 ]; then
        xdotool windowmove "$wid" 280 160
        sleep 0.2
        eval "$(xdotool getwindowgeometry --shell "$wid")"
    fi
    origin_x=$X origin_y=$Y
}
click() { locate; xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) click "${3:-1}"; }
hover() { locate; xdotool mousemove $((origin_x + $1)) $((origin_y + $2)); }
# wheel X Y N: N notches down (negative: up) over a point.
wheel() {
    local button=5 n=$3
    [ "$n" -lt 0 ] && button=4 n=$((-n))
    hover "$1" "$2"
    xdotool click --repeat "$n" --delay 60 "$button"
}
# An empty stretch of the page: a click there closes menus and pop-ups (focusControl).
away() { click 660 80; }

pages() {
    start "$1"
    settle=0.2 shot 01-start-logo                  # powerOnLogo during the 1 s start-up lock
    sleep 1.5
    shot 02-main-page

    click 943 13                                    # headerButton2 (help) opens askMenu
    hover 840 57                                    # over askRow1
    shot 03-help-menu
    away

    click 951 617                                   # restBtn opens factorysure
    shot 04-factory-reset
    click 653 349                                   # resetCancel

    click 762 267                                   # dpiSwatch0 opens colorBar
    shot 05-dpi-colour-popup
    away
    click 853 248                                   # dpiToggle2 selects stage 3 of dpiSettingMain
    shot 06-dpi

    click 746 347                                   # effectButton1 (Breath) of lightControlMain
    shot 07-lighting
    wheel 850 300 20                                # to the end: reportRateMain ... scrollRateMain
    shot 08-sensor-panels-right
    wheel 850 300 -30

    click 139 138                                   # keyRow0 opens keyMenuMain at (249, 131)
    shot 09-key-menu
    for entry in 5 6 7 8; do                        # subMenu5 ... subMenu8 open on hover
        hover 330 $((131 + 2 + 20 * entry + 10))
        shot "10-key-menu-sub$entry"
    done
    click 330 $((131 + 2 + 20 * 10 + 10))           # menuEntry10 opens singleKeyMain
    shot 11-key-dialog
    click 586 366                                   # singleKeyCancel

    click 169 356                                   # xSlider of xySettingMain to 7; jmgdMain below
    shot 12-sensor-panels-left

    click 76 619                                    # profileBtn opens profileMain
    shot 13-profile-page
    click 82 139 3                                  # profileRow0, right button: profileMenu
    shot 14-profile-menu
    click 147 255                                   # profileMenuRow5 opens linkDialog
    shot 14b-link-dialog
    finish

    start "$1"
    sleep 2
    click 139 287                 # macroBtn in macroStrip opens macroEditorMain
    shot 15-macro-editor
    finish

    start "$1"
    sleep 2
    click 139 138                                   # keyRow0, then menuEntry11 opens macroKeyMain
    click 330 $((131 + 2 + 20 * 11 + 10))
    shot 16-macro-key-dialog
    finish
}

pages en
pages zh
# The README's picture (docs/main-page.png): the English main page, small.
convert "$out/en-02-main-page.png" -resize 640x -colors 256 "PNG8:$out/main-page-small.png"
echo "pictures in $out"
