#!/usr/bin/env bash
# Picks a color into a scheme item through the real window, copies the external CSS code from
# the scheme's context menu and reads the exact text back from the real clipboard.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

# The "Normal link" option of "Html Color Item", then #123456 typed into the hexadecimal boxes.
click_client 30 314
type_into_box 79 149 12
type_into_box 79 169 34
type_into_box 79 189 56
xdotool key Return
sleep 0.3

# Right-click on the preview rectangle, below the sample lines: the scheme's context menu.
# Its fifth entry (separators are skipped) is "Copy External Css Code".
click_client 230 400 3
sleep 0.3
xdotool key --delay 120 Down Down Down Down Down Return
expect_clipboard $'a:link {color:#123456;}\r\na:visited {color:#800080;}\r\na:hover {color:#FF6600;}\r\na:active {color:#FF0000;}\r\nbody {background-color:#FFFFFF; color:#000000;}'

# The first entry after the copy: "Copy Html Code" carries no hover color.
click_client 230 400 3
sleep 0.3
xdotool key --delay 120 Down Down Down Return
expect_clipboard '<body BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#123456" VLINK="#800080" ALINK="#FF0000">'
echo "scheme_css: ok"
