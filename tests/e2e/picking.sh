# Shared by the picker's end-to-end tests on X and on the Wayland desktops: the picture to pick
# from, a picking session through the window, `huebench pick`, and the run of a desktop session
# in a clean environment as an unprivileged user.
# Sourced before lib.sh: a desktop's test calls desktop_session first, which runs the same
# script again as the session.
skip() { echo "SKIP: $*"; exit 77; }

# The desktop session's user: nobody when we are root (SESSION_AS: the command prefix that
# becomes it), else ourselves.
session_user() {
    SESSION_AS=()
    [ "$(id -u)" -eq 0 ] || return 0
    command -v setpriv >/dev/null && id nobody >/dev/null 2>&1 || skip "no unprivileged user"
    SESSION_AS=(setpriv --reuid=nobody --regid="$(id -g nobody)" --init-groups)
}
as_session_user() { session_user && "${SESSION_AS[@]}" "$@"; }

# desktop_session SCRIPT FILE...: runs "bash SCRIPT APP FACTORY session" from a clean environment
# and exits with its status. Desktops refuse to run as root: there the session runs as nobody, on
# copies of the program, its data, SCRIPT, lib.sh, this file and FILE... (from this folder),
# which nobody may read wherever the build folder lies. The program's leaks are not checked
# there: stacks through the desktop's uninstrumented client libraries cannot be told from ours
# (the core and widget tests check its own).
desktop_session() {
    local script=$1 stage=$HERE app=$APP_ARG factory=$FACTORY_ARG status
    shift
    session_user
    if [ "$(id -u)" -eq 0 ]; then
        stage=$(mktemp -d /tmp/huebench-wayland.XXXXXX) && chmod 755 "$stage"
        cp "$app" "$stage"/
        for file in "$script" lib.sh picking.sh "$@"; do cp "$HERE/$file" "$stage"/; done
        cp -r "$factory" "$stage/data"
        chmod -R a+rX "$stage" && app=$stage/$(basename "$app") factory=$stage/data
    fi
    cd / && timeout -k 5 "${SESSION_TIMEOUT:-150}" "${SESSION_AS[@]}" env -i PATH=/usr/bin:/bin \
        LANG=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" bash "$stage/$script" "$app" "$factory" session
    status=$?
    [ "$stage" = "$HERE" ] || rm -rf "$stage"
    exit $status
}

# A PNG picture of W x H device pixels: red x ** P, green y ** P (modulo 256), blue B. Every
# pixel differs from its neighbours; with P = 2 also from the mean of the 3 x 3 around it.
pattern() { python3 -c "import struct, sys, zlib
w, h, b, p = map(int, sys.argv[2:6])
row = bytearray(3 * w); row[0::3] = bytes(x ** p % 256 for x in range(w)); row[2::3] = bytes([b]) * w
def line(y): row[1::3] = bytes([y ** p % 256]) * w; return b'\0' + bytes(row)
chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
image = zlib.compress(b''.join(line(y) for y in range(h)), 1)
header = chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
png = b'\x89PNG\r\n\x1a\n' + header + chunk(b'IDAT', image) + chunk(b'IEND', b'')
open(sys.argv[1], 'wb').write(png)" "$@"; }

# pick_session NAME PICK...: opens the picker with $OPEN, makes each pick "X Y KEYS HOW [TRUTH]"
# (point at X Y, press the keys KEYS, "-" for none, joined by commas, then pick with the mouse
# button or the key HOW; the color is the picture's at X Y, at TRUTH "TX TY", or TRUTH "=RRGGBB"),
# checks the sample and leaves with $LEAVE. "mycolor.rgb" must gain exactly the picks, in WANT.
pick_session() {
    NAME=$1 && shift
    local before got
    before=$(stat -c %s "$DATA/mycolor.rgb")
    $OPEN
    until_ok picker_shown || fail "$NAME: the picker did not appear: $(cat "$E2E_TMP/app.log")"
    sleep 1
    ! main_shown || fail "$NAME: the main window is shown"
    WANT=""
    for pick in "$@"; do
        read -r x y keys how truth <<<"$pick"
        point "$x" "$y"
        [ "$keys" = - ] || key ${keys//,/ }
        sleep 0.3
        case $truth in
            =*) WANT+=${truth#=} ;;
            "") WANT+=$(truth "$x" "$y") ;;
            *) WANT+=$(truth $truth) ;;
        esac
        case $how in [1-9]) click "$how" ;; *) key "$how" ;; esac
    done
    sleep 0.3
    got=$(sample)
    [ "$got" = "${WANT: -6}" ] || fail "$NAME: Pick&Save shows $got, not ${WANT: -6}"
    $LEAVE
    until_ok main_shown || fail "$NAME: the main window did not come back"
    ! picker_shown || fail "$NAME: Pick&Save is still shown"
    got=$(tail -c +$((before + 1)) "$DATA/mycolor.rgb")
    [ "$got" = "$WANT" ] || fail "$NAME: mycolor.rgb gained '$got', expected '$WANT'"
    echo "$NAME: ok"
}

# pick_command "X Y" "X Y": `huebench pick` without the main window. A click at the first point,
# at the second Right and Down and Enter, then Escape: two hex lines at once, both appended to
# mycolor.rgb, exit 0. Escape at once: no line, exit 1. Wrong arguments: exit 2.
# On X also: `pick | head -1` ends with its first pick.
pick_command() {
    local out=$E2E_TMP/pick.out status before want
    mkdir -p "$DATA" && cp -r "$FACTORY"/. "$DATA"/
    before=$(stat -c %s "$DATA/mycolor.rgb")
    # The screen is read at once: nothing of before, and the pointer (which a Wayland
    # desktop's screenshot may show) away from the points.
    until_ok eval '! main_shown' && point 41 41 && sleep 0.5
    "$HUEBENCH" --data-dir "$DATA" pick --save mycolor.rgb >"$out" 2>"$E2E_TMP/pick.err" &
    APP_PID=$!
    until_ok picker_shown || fail "pick: no overlay: $(cat "$E2E_TMP/pick.err")"
    sleep 0.5
    read -r x y <<<"$1"
    point "$x" "$y" && want=$(truth "$x" "$y") && click 1
    read -r x y <<<"$2"
    point "$x" "$y" && want+=" $(truth "$((x + STEP))" "$((y + STEP))")"
    key Right Down Return
    sleep 0.3
    [ "$(wc -l <"$out")" = 2 ] || fail "pick: printed '$(cat "$out")' before Escape"
    key Escape
    wait "$APP_PID" && status=0 || status=$?
    [ "$status" = 0 ] || fail "pick: exit $status: $(cat "$E2E_TMP/pick.err")"
    [ "$(cat "$out")" = "$(printf '#%s\n#%s' $want)" ] || fail "pick printed '$(cat "$out")'"
    [ "$(tail -c +$((before + 1)) "$DATA/mycolor.rgb")" = "${want/ /}" ] ||
        fail "pick: mycolor.rgb gained '$(tail -c +$((before + 1)) "$DATA/mycolor.rgb")'"
    "$HUEBENCH" pick >"$out" 2>"$E2E_TMP/pick.err" &
    APP_PID=$!
    until_ok picker_shown && sleep 0.5 && key Escape
    wait "$APP_PID" && status=0 || status=$?
    [ "$status" = 1 ] && [ ! -s "$out" ] || fail "pick, Escape at once: exit $status, '$(cat "$out")'"
    "$HUEBENCH" pick --to nothing 2>/dev/null && status=0 || status=$?
    [ "$status" = 2 ] || fail "pick --to nothing: exit $status"
    APP_PID=""
    echo "pick command: ok"
}
