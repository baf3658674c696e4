#!/usr/bin/env bash
# Pastes a color from the real clipboard with the real shortcut, copies it as oklch() from the
# menu bar, pastes that text back and copies the hexadecimal form: the same color all the way.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

# Another program owns the clipboard, as when copying from a browser.
printf '%s' ' rgb(255 161 204); ' | xclip -selection clipboard
sleep 0.3
xdotool key --clearmodifiers ctrl+shift+v
sleep 0.3

# Edit > Copy CSS Format of Color > oklch(): the submenu is the last item but one,
# reached upwards from the first item.
xdotool key --delay 120 alt+e Up Up Right Down Down Return
expect_clipboard "oklch(81.54% 0.12234 351.21)"

# Read the oklch() text back: paste it, then Edit > Copy HEX Format of Color > #RRGGBB.
xdotool key --clearmodifiers ctrl+shift+v
sleep 0.3
xdotool key --delay 120 alt+e Down Right Return
expect_clipboard "#FFA1CC"
echo "paste_color: ok"
