#!/bin/sh
# A reader's session with the shipped program, in a real X window under a
# window manager, driven by real input events (mouse clicks and key presses
# sent to the X server):
#
#   1. start with an empty data folder;
#   2. open chapter 3 of the demo book from the contents tree;
#   3. page forward five times with Page Down;
#   4. add a bookmark named "Lion" (Ctrl+B, type the name, click OK);
#   5. switch to the dark colour scheme on the Options page;
#   6. close the window with its close box, then check the settings file and
#      the bookmark file on disk;
#   7. start again, open the book at its start, answer Yes to the offer to
#      resume, and check that the panel is the one on show before closing;
#   8. open chapter 5 from the contents tree, page three times and close with
#      the close box; start a third time, open the book, answer Yes, and check
#      that the panel is the one on show at close;
#   9. start a fourth time, let the window manager maximise the window, make
#      the text larger and close: the font size is kept and the bounds
#      written are the normal ones;
#  10. books of the reader's own: start with a Markdown book on the command
#      line (imported and opened), import an EPUB book with Ctrl+O and the
#      file dialog, open its second chapter from My Books with the keyboard,
#      page, add a bookmark, save the panel as text and close; start again,
#      open the book from My Books, answer Yes to the offer to resume, and
#      check that the panel saved now is the one saved before closing.
#
# Every step leaves a screenshot in the folder the run names; light.png and
# dark.png are the window alone, for the README.
#
# Usage: end-to-end.sh VARNET_BINARY SCREENSHOT_CHECK_BINARY DEMO_BOOK_TEXT [SHOT_DIR [MAKE_BOOKS_BINARY]]
set -eu

here=$(dirname "$0")
. "$here/xsession.sh"

varnet=$1
checker=$2
book=$3
shots=${4:-$(mktemp -d /tmp/varnet-end-to-end.XXXXXX)}
make_books=${5:-}
rm -rf "$shots"
mkdir -p "$shots"
echo "end-to-end: screenshots in $shots"

for tool in Xvfb openbox xdotool xwininfo xprop import convert; do
    command -v "$tool" > /dev/null || { echo "end-to-end: $tool is missing"; exit 1; }
done

home=$(mktemp -d /tmp/varnet-e2e-home.XXXXXX)
chmod 700 "$home"
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2> /dev/null || true
    x_stop
    rm -rf "$home"
}
trap cleanup EXIT INT TERM
x_start 51 1280x1024 wm
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

name=$(basename "$varnet" | cut -d. -f1 | tr 'A-Z' 'a-z')
ini="$home/data/Quorra/$name.ini"
bm="$home/data/Quorra/$name.bm"
book_title="Varnet -- Lantern Book of Fables, by Aesop"
light_bands=ddc2a6,e3bc9f
dark_bands=384545,392f46

fail() {
    echo "end-to-end: $*"
    [ -f "$home/app.log" ] && sed 's/^/  program: /' "$home/app.log"
    exit 1
}
step=0
shot() {
    step=$((step + 1))
    sleep 0.3
    import -window root "$shots/$(printf '%02d' $step)-$1.png"
    last_shot="$shots/$(printf '%02d' $step)-$1.png"
}

# A screenshot once the screen has stopped changing: two in a row alike.
settled_shot() {
    previous=""
    for _ in $(seq 20); do
        step=$((step - 1))
        shot "$1"
        sum=$(convert "$last_shot" rgb:- | md5sum)
        [ "$sum" = "$previous" ] && return 0
        previous=$sum
    done
    fail "the screen did not settle for $1"
}
# The main window's client area on the screen (WX, WY, WW, WH) and its
# frame's edges (FL, FR, FT, FB) from the window manager.
geometry() {
    eval "$(xwininfo -id "$window" | awk '
        /Absolute upper-left X/ { print "WX=" $4 }
        /Absolute upper-left Y/ { print "WY=" $4 }
        /^ *Width:/ { print "WW=" $2 }
        /^ *Height:/ { print "WH=" $2 }')"
    eval "$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -d ',' | awk '{ print "FL=" $3 "; FR=" $4 "; FT=" $5 "; FB=" $6 }')"
}
# A click at a point of the main window's client area.
click() {
    xdo mousemove $((WX + $1)) $((WY + $2)) click 1 || fail "cannot click at $1,$2"
    sleep 0.4
}
title() { xdo getwindowname "$window"; }
# Waits up to five seconds for the main window's caption to read $1.
wait_title() {
    for _ in $(seq 50); do
        [ "$(title)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
# The reading surface's inside, well clear of its edges.
surface_check() {
    "$checker" "$last_shot" $((WX + 10)) $((WY + 50)) 460 600 "$1" || fail "$2 ($last_shot)"
}
start_program() {
    "$varnet" "$@" > "$home/app.log" 2>&1 &
    app=$!
    window=$(xdo search --sync --onlyvisible --name '^Varnet' | head -1)
    [ -n "$window" ] || fail "no window appeared"
    for _ in $(seq 50); do
        xprop -id "$window" _NET_FRAME_EXTENTS 2> /dev/null | grep -q '=' && break
        sleep 0.1
    done
    sleep 0.5
    geometry
}
# Closes the main window with the close box of its frame, drawn by the window
# manager at the right end of the title bar, and waits for the program to end.
close_with_close_box() {
    xdo mousemove $((WX + WW + FR - 13)) $((WY - FT + 9)) click 1 || fail "cannot click the close box"
    for _ in $(seq 100); do
        kill -0 "$app" 2> /dev/null || break
        sleep 0.1
    done
    kill -0 "$app" 2> /dev/null && fail "the program did not end after its close box was clicked"
    wait "$app" || fail "the program ended with status $?"
    app=""
}

# Opens the book at its start from the contents tree (its tab, the arrow of
# "Listed by Title", the book's row), waits for the offer to resume, whose
# title is the question, answers Yes with Return (its default button) and
# takes a settled screenshot of the book; $1 and $2 name the two screenshots.
resume_book() {
    click 59 30
    click 31 78
    click 149 101
    offer=""
    for _ in $(seq 50); do
        active=$(xdo getactivewindow || true)
        if [ -n "$active" ] && [ "$active" != "$window" ]; then offer=$active; break; fi
        sleep 0.1
    done
    [ -n "$offer" ] || fail "no offer to resume appeared"
    [ "$(xdo getwindowname "$offer")" = "Do you want to start reading where you last closed the file?" ] ||
        fail "the offer's title is \"$(xdo getwindowname "$offer")\""
    shot "$1"
    xdo key Return
    for _ in $(seq 50); do
        [ "$(xdo getactivewindow || true)" = "$window" ] && break
        sleep 0.1
    done
    [ "$(xdo getactivewindow || true)" = "$window" ] || fail "the offer did not close"
    wait_title "$book_title" || fail "the book did not open: the caption is \"$(title)\""
    step=$((step + 1))
    settled_shot "$2"
}

# Adds a bookmark named $1 where the reader stands: Ctrl+B, the name typed
# over the dialog's text, OK clicked; $2, when given, names a screenshot of
# the dialog before OK.
add_bookmark() {
    xdo key ctrl+b
    dialog=$(xdo search --sync --onlyvisible --name '^BookMark Name$' | head -1)
    [ -n "$dialog" ] || fail "the bookmark name dialog did not appear for $1"
    sleep 0.3
    xdo key ctrl+a
    xdo type --delay 40 "$1"
    [ -n "${2:-}" ] && shot "$2"
    eval "$(xwininfo -id "$dialog" | awk '/Absolute upper-left X/ { print "DX=" $4 } /Absolute upper-left Y/ { print "DY=" $4 }')"
    xdo mousemove $((DX + 437)) $((DY + 12)) click 1
    for _ in $(seq 50); do
        xdo search --onlyvisible --name '^BookMark Name$' > /dev/null || break
        sleep 0.1
    done
    xdo search --onlyvisible --name '^BookMark Name$' > /dev/null && fail "OK did not close the bookmark name dialog"
    return 0
}

# ---- first run: empty data folder
start_program
shot start
[ -f "$ini" ] || fail "no settings file was written at start-up"

# The contents tree: its tab, then the arrows of "Listed by Title" and of the
# book, then chapter 3's row. Rows are 23 pixels apart from y = 55.
click 59 30
click 31 78
click 50 101
shot contents
click 149 170
wait_title "$book_title" || fail "chapter 3 did not open: the caption is \"$(title)\""
shot chapter-3
surface_check "$light_bands" "chapter 3 is not on show in the light scheme"

for _ in 1 2 3 4 5; do
    xdo key Next
    sleep 0.2
done
shot paged
surface_check "$light_bands" "no panel after paging"

add_bookmark Lion bookmark-name

# The Options page and its "Dark Colored" button.
click 597 30
click 525 101
shot dark
surface_check "$dark_bands" "the dark scheme is not on show"
dark_panel=$last_shot
import -window root -crop $((WW + FL + FR))x$((WH + FT + FB))+$((WX - FL))+$((WY - FT)) "$shots/dark.png"
convert "$shots/04-paged.png" -crop $((WW + FL + FR))x$((WH + FT + FB))+$((WX - FL))+$((WY - FT)) +repage "$shots/light.png"
first_geometry="$WX $WY $WW $WH"
close_with_close_box

# ---- the files on disk
ini_text=$(tr -d '\r' < "$ini")
for key in "background=1" "fontsize=15" "plainbkg=0" "twocolor=0" "twocolumn=0" \
           "tleft=$((WX - FL))" "ttop=$((WY - FT))" "twidth=$((WW + FL + FR))" "theight=$((WH + FT + FB))"; do
    printf '%s\n' "$ini_text" | grep -qx "$key" || fail "the settings file lacks $key: $(printf '%s' "$ini_text" | tr '\n' ' ')"
done
# The bookmark: right after the book's header, at a line of chapter 3 (after
# its anchor, before chapter 4's), and nowhere else.
ch3=$(grep -n 'refpt003>' "$book" | cut -d: -f1)
ch4=$(grep -n 'refpt004>' "$book" | cut -d: -f1)
bm_text=$(tr -d '\r' < "$bm")
[ "$(printf '%s\n' "$bm_text" | grep -c 'Lion')" -eq 1 ] || fail "the bookmark file does not hold one Lion: $bm_text"
lion=$(printf '%s\n' "$bm_text" | grep -A1 -x '<<fable' | sed -n 2p)
mark=$(printf '%s\n' "$lion" | sed -n 's/^#\([0-9]*\) Lion$/\1/p')
[ -n "$mark" ] || fail "the line after <<fable is \"$lion\", not the bookmark"
[ "$mark" -ge "$ch3" ] && [ "$mark" -lt $((ch4 - 1)) ] || fail "the bookmark's line $mark is not in chapter 3"
echo "end-to-end: settings and bookmark file as expected (bookmark at line $mark)"

# ---- second run: resume
start_program
[ "$WX $WY $WW $WH" = "$first_geometry" ] || fail "the window came back at $WX $WY $WW $WH, not $first_geometry"
shot restarted
resume_book resume-offer resumed
"$checker" --same "$dark_panel" "$last_shot" $((WX + 2)) $((WY + 45)) 470 860 ||
    fail "the resumed panel is not the one on show before closing"

# A chapter opened from the contents tree keeps its place too: chapter 5,
# paged a few times, then the close box. The colour bands alternate from
# wherever drawing last left them, and a fresh start resumes on the first
# band; so the panel chosen is the first from the third on whose top strip
# the first band shows, and the resumed panel must match it pixel for pixel.
click 59 30
click 50 101
click 149 216
wait_title "$book_title" || fail "chapter 5 did not open: the caption is \"$(title)\""
first_dark_band=$(printf '%s' "$dark_bands" | cut -d, -f2 | tr 'a-f' 'A-F')
pages=0
while :; do
    xdo key Next
    pages=$((pages + 1))
    [ "$pages" -lt 3 ] && { sleep 0.2; continue; }
    # The decision and the comparison below use the same screenshot, taken
    # once the page has been drawn.
    sleep 0.2
    step=$((step + 1))
    settled_shot "chapter-5-page-$pages"
    top=$(convert "$last_shot" -crop 1x1+$((WX + 100))+$((WY + 63)) -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'a-f' 'A-F')
    [ "$top" = "$first_dark_band" ] && break
    [ "$pages" -ge 12 ] && fail "no panel of chapter 5 starts on the first band (top strip $top)"
done
chapter_panel=$last_shot
close_with_close_box
grep -q 'Closed book at ' "$bm" || fail "closing wrote no closing bookmark: $(tr -d '\r' < "$bm")"

# ---- third run: the offer names the closing bookmark, Yes lands on its panel
start_program
resume_book closing-offer resumed-at-close
"$checker" --same "$chapter_panel" "$last_shot" $((WX + 2)) $((WY + 45)) 470 860 ||
    fail "the panel resumed at the closing bookmark is not the one on show at close"
close_with_close_box

# ---- fourth run: maximised by the window manager (a double click on the
# title bar), a larger font, closed: the option is kept and the bounds
# written are the window's normal ones.
bounds_before=$(tr -d '\r' < "$ini" | grep -E '^t(left|top|width|height)=' | tr '\n' ' ')
start_program
xdo mousemove $((WX + WW / 2)) $((WY - FT / 2)) click --repeat 2 --delay 80 1
for _ in $(seq 50); do
    xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ && break
    sleep 0.1
done
xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || fail "the window manager did not maximise the window"
shot maximised
xdo key ctrl+plus
sleep 0.3
xdo key ctrl+q
for _ in $(seq 100); do
    kill -0 "$app" 2> /dev/null || break
    sleep 0.1
done
wait "$app" || fail "the program ended with status $? after Ctrl+Q"
app=""
tr -d '\r' < "$ini" | grep -qx "fontsize=16" || fail "the font size chosen while maximised was not kept: $(tr -d '\r' < "$ini" | tr '\n' ' ')"
bounds_after=$(tr -d '\r' < "$ini" | grep -E '^t(left|top|width|height)=' | tr '\n' ' ')
[ "$bounds_after" = "$bounds_before" ] || fail "closing maximised wrote $bounds_after, not the normal bounds $bounds_before"
echo "end-to-end: resumed at the bookmark and at the closing bookmark, and a maximised window kept its option and normal bounds"

# ---- fifth run: books of the reader's own
[ -n "$make_books" ] || { echo "end-to-end: every step passed ($shots)"; exit 0; }
shelf="$home/shelf"
mkdir -p "$shelf"
"$make_books" "$shelf" || fail "the books to import could not be made"
# Waits for the active window to be one other than the main window, and
# prints it.
other_window() {
    for _ in $(seq 50); do
        active=$(xdo getactivewindow || true)
        if [ -n "$active" ] && [ "$active" != "$window" ]; then
            echo "$active"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
# Saves the panel on show as text (Ctrl+S, the file's name typed into the
# dialog, Return) and waits for the file.
save_panel() {
    rm -f "$1"
    xdo key ctrl+s
    other_window > /dev/null || fail "the save dialog did not appear"
    sleep 0.5
    xdo type --delay 20 "$1"
    xdo key Return
    for _ in $(seq 50); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    fail "the panel was not saved to $1"
}
start_program "$shelf/fox.md"
wait_title "Varnet -- The Fox's Year" || fail "the Markdown book did not open: the caption is \"$(title)\""
[ -s "$home/data/Quorra/books/the-fox-s-year.qtx" ] || fail "the Markdown book was not kept in My Books"
settled_shot markdown-book
surface_check "$dark_bands" "the Markdown book is not on show"
xdo key ctrl+o
other_window > /dev/null || fail "the import dialog did not appear"
sleep 0.5
shot import-dialog
xdo type --delay 20 "$shelf/heron.epub"
xdo key Return
wait_title "Varnet -- A Heron's Winter" || fail "the EPUB book did not open: the caption is \"$(title)\""
settled_shot epub-book
# Its second chapter from My Books, with the keyboard: the tree takes the
# keyboard when the Contents page is chosen from the Reading page (the
# reading surface clicked first), and the book just imported is its current
# row: Right opens its branch (or, open already, moves to its first
# chapter), Right again moves to "1.  Frost", Down to "2.  Thaw", Return
# opens it.
into_contents() {
    click 156 30
    click 200 300
    click 59 30
    sleep 0.3
}
into_contents
xdo key Right Right Down Return
sleep 0.5
shot my-books-chapter
wait_title "Varnet -- A Heron's Winter" || fail "the EPUB book's chapter did not open: the caption is \"$(title)\""
for _ in 1 2; do
    xdo key Next
    sleep 0.2
done
add_bookmark Heron
settled_shot epub-paged
save_panel "$home/before.txt"
close_with_close_box
bm_text=$(tr -d '\r' < "$bm")
printf '%s\n' "$bm_text" | grep -A2 -x '<<a-heron-s-winter' | grep -q '^#[0-9]* Heron$' ||
    fail "the EPUB book's section does not hold the bookmark: $bm_text"

start_program
# The book from My Books: into the tree, End to the last row ("My Books"),
# open it, the first book (by title), Return.
into_contents
xdo key End Right Down Return
offer=$(other_window) || fail "no offer to resume the EPUB book appeared"
[ "$(xdo getwindowname "$offer")" = "Do you want to start reading where you last closed the file?" ] ||
    fail "the offer's title is \"$(xdo getwindowname "$offer")\""
shot epub-offer
xdo key Return
wait_title "Varnet -- A Heron's Winter" || fail "the EPUB book did not open again: the caption is \"$(title)\""
settled_shot epub-resumed
save_panel "$home/after.txt"
cmp -s "$home/before.txt" "$home/after.txt" || fail "the resumed panel is not the one saved before closing"
convert "$last_shot" -crop $((WW + FL + FR))x$((WH + FT + FB))+$((WX - FL))+$((WY - FT)) +repage "$shots/my-book.png"
close_with_close_box
echo "end-to-end: a Markdown and an EPUB book imported, read from My Books, bookmarked and resumed; every step passed ($shots)"
