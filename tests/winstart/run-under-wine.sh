#!/usr/bin/env bash
# run-under-wine.sh EVPLAY_EXE: runs the Windows starter under Wine in a private, throw-away Wine prefix and checks
# that it hands exactly the index.html beside it to the browser, and that it fails with status 1 and a message
# naming the file when there is nothing it can open.
#
# Wine opens .html files with winebrowser, which on Linux hands the file to xdg-open. A fake xdg-open first in
# PATH plays the browser: it records what it was given. No display is needed; the starter's message box is
# replaced by a message on stderr through VELLORA_STARTER_NO_DIALOG. Prints one line per check; exits non-zero
# when any check fails.
set -uo pipefail

starter=${1:-}
if [ -z "$starter" ] || [ ! -f "$starter" ]; then
    echo "FAIL: no starter program given or found: '$starter'"
    exit 1
fi
if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
    echo "FAIL: wine is not installed (scripts/install-deps.sh installs it)"
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vellora-winstart.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix"
cleanup() {
    # Ends the Wine server of this private prefix only, then removes everything the test made.
    wineserver -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

# Everything Wine writes stays inside $work: its prefix, and a home of its own for whatever it puts there. No
# Mono/Gecko install prompts, no desktop menu entries, no display, a fixed UTF-8 locale for the file names.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$work/bin"

browser_log="$work/browser.log"
: >"$browser_log"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
for argument in "\$@"; do printf '%s\n' "\$argument" >>"$browser_log"; done
EOF
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the starter inside folder, waits until everything it started in Wine (winebrowser) has ended, and leaves
# its exit status in $status and its stderr in $work/stderr.
run_starter() {
    local folder=$1
    VELLORA_STARTER_NO_DIALOG=1 timeout 120 wine "$folder/evplay.exe" >"$work/stdout" 2>"$work/stderr"
    status=$?
    timeout 60 wineserver -w
}

# What the browser was given as a Unix path: a file:// URL is percent-decoded, a path is taken as it is.
browser_path() {
    local given=$1
    case "$given" in
    file://localhost/*) given=${given#file://localhost} ;;
    file:///*) given=${given#file://} ;;
    *) printf '%s' "$given"; return ;;
    esac
    printf '%b' "${given//%/\\x}"
}

# A disc folder: the starter and, when asked, an index.html (or a folder of that name) beside it.
make_disc() {
    local folder=$1 index=$2
    mkdir -p "$folder"
    cp "$starter" "$folder/evplay.exe"
    case "$index" in
    file) echo '<!DOCTYPE html><title>album</title>' >"$folder/index.html" ;;
    folder) mkdir "$folder/index.html" ;;
    none) ;;
    esac
}

# The Windows form of a Unix path, as the starter names it in its message (Wine's drive Z: is the Unix root).
windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

started=$(date +%s)
if timeout 300 wine wineboot.exe --init >"$work/wineboot.log" 2>&1 && timeout 120 wineserver -w; then
    pass "a fresh Wine prefix is ready ($(($(date +%s) - started)) s)"
else
    fail "Wine could not set up a prefix:"
    cat "$work/wineboot.log"
    exit 1
fi

# With nothing registered for .html, ShellExecuteW fails and the starter says that no browser is set up.
album="$work/discs/My Album"
make_disc "$album" file
wine reg delete 'HKCR\.html' /f >/dev/null 2>&1
timeout 60 wineserver -w
run_starter "$album"
if [ "$status" -eq 1 ] && grep -q "No web browser" "$work/stderr" && [ ! -s "$browser_log" ]; then
    pass "without a browser for .html: status 1, message says no browser is set up"
else
    fail "without a browser for .html: status $status, browser log '$(cat "$browser_log")', stderr:"
    cat "$work/stderr"
fi

# A machine whose default browser is winebrowser, which passes the file on to xdg-open.
if wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1 &&
    wine reg add 'HKCR\htmlfile\shell\open\command' /ve /d '"C:\windows\system32\winebrowser.exe" "%1"' /f \
        >/dev/null 2>&1 && timeout 60 wineserver -w; then
    pass "winebrowser opens .html files"
else
    fail "could not register winebrowser for .html files"
fi

# Each album folder's index.html reaches the browser once and exactly: blanks, non-ASCII letters, "&" and "%" in
# the folder's name must survive every hand-over.
for name in "My Album" "Hochzeit Müller & Søn 100%"; do
    album="$work/discs/$name"
    [ -d "$album" ] || make_disc "$album" file
    : >"$browser_log"
    run_starter "$album"
    expected="$(cd "$album" && pwd -P)/index.html"
    mapfile -t given <"$browser_log"
    if [ "$status" -ne 0 ]; then
        fail "'$name': status $status instead of 0, stderr: $(cat "$work/stderr")"
    elif [ "${#given[@]}" -ne 1 ]; then
        fail "'$name': the browser was called with ${#given[@]} arguments instead of 1: ${given[*]}"
    elif [ "$(browser_path "${given[0]}")" != "$expected" ]; then
        fail "'$name': the browser was given '${given[0]}', not '$expected'"
    else
        pass "'$name': status 0, the browser was given ${given[0]}"
    fi
done

# Without an index.html file beside it (none at all, or a folder of that name) the starter fails with status 1,
# names the file it looked for and does not start the browser.
for index in none folder; do
    album="$work/discs/no index ($index)"
    make_disc "$album" "$index"
    : >"$browser_log"
    run_starter "$album"
    named=$(windows_path "$(cd "$album" && pwd -P)/index.html")
    if [ "$status" -eq 1 ] && grep -qF "File: $named" "$work/stderr" && grep -q "missing" "$work/stderr" &&
        grep -q "open the file index.html from the disc in a web browser" "$work/stderr" &&
        [ ! -s "$browser_log" ]; then
        pass "index.html $index: status 1, the message names $named"
    else
        fail "index.html $index: status $status, browser log '$(cat "$browser_log")', stderr:"
        cat "$work/stderr"
    fi
done

echo "wine checks took $(($(date +%s) - started)) s"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
