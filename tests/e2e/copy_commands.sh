#!/usr/bin/env bash
# Types a color into the boxes with real keys, copies it in the C++, VB and hexadecimal forms
# from the menu bar and reads the real clipboard back; then pastes a color another program
# copied with the real shortcut, copies it as oklch(), pastes that back and gets the same color.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

type_into_box 79 149 ff
type_into_box 79 169 FF
type_into_box 79 189 71
xdotool key Return
sleep 0.3

# Edit > Copy Special Format > C++
xdotool key --delay 120 alt+e Down Down Right Down Down Return
expect_clipboard "0x71FFFF"

# Edit > Copy Special Format > VB
xdotool key --delay 120 alt+e Down Down Right Return
expect_clipboard "&H0071FFFF&"

# Decimal boxes: 10, 0, 255; clicking the next box commits, Enter commits the last.
type_into_box 44 149 10
type_into_box 44 169 0
type_into_box 44 189 255
xdotool key Return
sleep 0.3
xdotool key --delay 120 alt+e Down Right Return
expect_clipboard "#0A00FF"
xdotool key --delay 120 alt+e Right Down Return
expect_clipboard "10,0,255"

printf '%s' ' rgb(255 161 204); ' | xclip -selection clipboard
sleep 0.3
xdotool key --clearmodifiers ctrl+shift+v
sleep 0.3
# Edit > Copy CSS Format of Color > oklch(): the last submenu but one, reached upwards.
xdotool key --delay 120 alt+e Up Up Right Down Down Return
expect_clipboard "oklch(81.54% 0.12234 351.21)"
xdotool key --clearmodifiers ctrl+shift+v
sleep 0.3
xdotool key --delay 120 alt+e Down Right Return
expect_clipboard "#FFA1CC"
echo "copy_commands: ok"
