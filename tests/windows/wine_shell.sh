#!/bin/sh
# The mobile shell's pieces on the desktop, under Wine: the game's window shows the
# phone's screen below the taskbar with the soft-key bar in a strip under its client
# area; Ctrl+Q and the left soft key end it cleanly; the About box, from Ctrl+A or from
# the right soft key's menu, covers the window and closes with the OK in its title.
# Sizes are read from the X windows Wine makes: with the prefix's default decorations
# (left to a window manager, and Xvfb has none) a framed window's X window holds its
# client area and the bar's strip, and each popup has one of its own.
set -eu
test_name=wine_shell
. "$(dirname "$0")/wine_support.sh"
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not found, skipping"; exit 77; }
start_xvfb

game_pid=""
game_window=""

# Starts the game with `$@` and waits for its window.
start_game() {
  wine "$windows/vireta.exe" "$@" >"$work/game.log" 2>&1 &
  game_pid=$!
  if ! game_window=$(wait_for_window '^Vireta$'); then
    ended="still running"
    kill -0 "$game_pid" 2>/dev/null || { wait "$game_pid" && ended="exit code 0" || ended="exit code $?"; }
    fail "${*:-the default screen}: no window titled Vireta appeared, the game $ended ($(cat "$work/game.log"))"
  fi
  # Its first paint, and the bar's.
  sleep 1
}

# The ids of the visible windows matching xdotool search's `$@`. A window destroyed while
# xdotool walks the tree makes it fail with BadWindow, so such a walk is taken again.
visible() {
  for _ in $(seq 20); do
    if found=$(xdotool search --onlyvisible "$@" 2>"$work/xdotool.err"); then
      echo "$found"
      return 0
    fi
    [ -s "$work/xdotool.err" ] || return 0
  done
  fail "xdotool search $*: $(head -n 1 "$work/xdotool.err")"
}

# The id of a visible window named by `pattern`, once there (30 s for Wine's first start).
wait_for_window() {
  for _ in $(seq 300); do
    found=$(visible --name "$1" | head -n 1)
    [ -n "$found" ] && { echo "$found"; return 0; }
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Waits up to 10 s for the visible windows named by `pattern` to go.
wait_gone() {
  for _ in $(seq 100); do
    [ -z "$(visible --name "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

# Sets X, Y, WIDTH and HEIGHT of window `$1`; returns 1 when it is gone.
place_of() {
  place=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$place"
}

measure() { place_of "$1" || fail "window $1 went away while measured"; }

# "X Y WIDTH HEIGHT" of every visible window of the game's that is still there.
all_windows() {
  for id in $(visible --class 'vireta'); do
    place_of "$id" && echo "$X $Y $WIDTH $HEIGHT"
  done
}

# Sets bar_x, bar_y, bar_w, bar_h to the soft-key bar under the game's window, the
# popup as wide as the window whose top is where its client area ends, if any.
find_bar() {
  measure "$game_window"
  gx=$X gy=$Y gw=$WIDTH gh=$HEIGHT
  bar_x="" bar_y="" bar_w="" bar_h=""
  while read -r x y w h; do
    if [ "$x" = "$gx" ] && [ "$w" = "$gw" ] && [ "$y" -gt "$gy" ] && [ $((y + h)) = $((gy + gh)) ]; then
      bar_x=$x bar_y=$y bar_w=$w bar_h=$h
    fi
  done <<LIST
$(all_windows)
LIST
}

# Checks the game's client area is `$1` x `$2` with a bar of height `$3` under it (0: none).
expect_layout() {
  find_bar
  if [ "$3" = 0 ]; then
    [ -z "$bar_y" ] || fail "a bar ${bar_w}x$bar_h showed without soft keys"
    [ "$gw x $gh" = "$1 x $2" ] || fail "client area ${gw}x$gh, expected ${1}x$2"
    return 0
  fi
  [ -n "$bar_y" ] || fail "no bar under the window ($(all_windows | tr '\n' ';'))"
  [ "$gw x $((bar_y - gy)) / $bar_w x $bar_h" = "$1 x $2 / $1 x $3" ] ||
    fail "client area ${gw}x$((bar_y - gy)) and bar ${bar_w}x$bar_h, expected ${1}x$2 and ${1}x$3"
}

press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key "$2"
}

click_centre_of() {
  measure "$1"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
}

# Waits up to 20 s for the game to end, and checks its exit code is `$1`.
expect_exit() {
  code=0
  game_code "$2" || code=$?
  [ "$code" = "$1" ] || fail "$2: exit code $code, expected $1 ($(cat "$work/game.log"))"
  wineserver -w
}

# The About box covers the game's window, titled as it is, and closes with its OK.
about_box_closes_with_ok() {
  about=$(wait_for_window '^Acerca de Vireta$') || fail "$1: no About box"
  measure "$about"
  about_place="$X $Y $WIDTH $HEIGHT"
  measure "$game_window"
  [ "$about_place" = "$X $Y $WIDTH $HEIGHT" ] ||
    fail "$1: the About box is at $about_place, the window at $X $Y $WIDTH $HEIGHT"
  ok=$(wait_for_window '^OK$') || fail "$1: the About box has no OK"
  measure "$ok"
  [ "$Y" -lt "$(measure "$about" && echo "$Y")" ] || fail "$1: the OK is not in the title"
  click_centre_of "$ok"
  wait_gone '^Acerca de Vireta$' || fail "$1: OK did not close the About box"
  kill -0 "$game_pid" 2>/dev/null || fail "$1: the game ended with the About box"
  [ -n "$(visible --name '^Vireta$')" ] || fail "$1: the window went away"
}

# The phone's default screen, 480x640 at 192 dpi: bars of 52 pixels.
start_game
expect_layout 480 536 52
# Moved, the window takes its bar along.
xdotool windowmove --sync "$game_window" 40 60 2>/dev/null || xdotool windowmove "$game_window" 40 60
sleep 1
expect_layout 480 536 52
[ "$gx $gy" = "40 60" ] || fail "the window did not move to 40 60 but to $gx $gy"
press "$game_window" ctrl+q
expect_exit 0 "Ctrl+Q"

start_game
press "$game_window" F1
expect_exit 0 "the left soft key (F1)"

start_game
press "$game_window" ctrl+a
about_box_closes_with_ok "Ctrl+A"
find_bar
# The right key's menu opens upwards from the bar's right end; its one item is the box.
xdotool mousemove $((bar_x + bar_w * 3 / 4)) $((bar_y + bar_h / 2)) click 1
menu=""
for _ in $(seq 50); do
  while read -r x y w h; do
    [ $((x + w)) = $((bar_x + bar_w)) ] && [ $((y + h)) = "$bar_y" ] && menu="$x $y $w $h"
  done <<LIST
$(all_windows)
LIST
  [ -n "$menu" ] && break
  sleep 0.1
done
[ -n "$menu" ] || fail "the right soft key opened no menu above the bar ($(all_windows | tr '\n' ';'))"
set -- $menu
xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) click 1
about_box_closes_with_ok "the menu's Acerca de"
# The soft keys work the menu too: F2 opens it, F2 again chooses its lit item.
press "$game_window" F2
sleep 1
press "$game_window" F2
about_box_closes_with_ok "F2 twice"
press "$game_window" ctrl+q
expect_exit 0 "Ctrl+Q after the About box"

# The smallest phone, at 96 dpi: bars of 26 pixels.
start_game --screen 240x320
expect_layout 240 268 26
press "$game_window" ctrl+q
expect_exit 0 "Ctrl+Q at 240x320"

# Without soft keys the window keeps the area the bar would have had.
start_game --without soft-key-bar
expect_layout 480 588 0
press "$game_window" ctrl+q
expect_exit 0 "Ctrl+Q without soft keys"
echo "$test_name: passed"
