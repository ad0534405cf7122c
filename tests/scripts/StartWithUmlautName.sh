#!/usr/bin/env bash
# Starts the built program through the project's scripts with a file name that holds an umlaut,
# as a person does from a shell, and expects that very file open: the scripts run Wine in the
# German locale, and without that locale on the machine the name arrives garbled.
# Argument: the built Tarvoline.exe. Needs DISPLAY and the prefix scripts/test sets up.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
program=$1
work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program with its settings beside it: no first-start question, and nothing of
# another run's settings is read or written.
cp "$program" "$work/Tarvoline.exe"
printf '<?xml version="1.0"?>\r\n<Settings>\r\n  <Path>%%GLOBAL%%</Path>\r\n</Settings>\r\n' \
  >"$work/Tarvoline.config"
name="Ärger.txt"
printf 'Hallo' >"$work/$name"
(cd "$work" && exec "$root/scripts/wine-run" Tarvoline.exe "$name") >"$work/run.log" 2>&1 &
pid=$!

# The titles of the program's shown windows, one a line (Wine gives them in UTF-8).
titles() {
  local id
  xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*("tarvoline\.exe" .*/\1/Ip' |
    while read -r id; do
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
      xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
    done
}

expected="Tarvoline - $name"
# The main window is captioned after the open document; any other caption but its bare one
# (a question such as "Datei nicht gefunden") means the name did not arrive as it was given.
for _ in $(seq 600); do
  shown=$(titles)
  if grep -qxF "$expected" <<<"$shown"; then
    echo "StartWithUmlautName: \"$name\" is open"
    echo "1 passed, 0 failed"
    exit 0
  fi
  other=$(grep -vxE 'Tarvoline|Default IME' <<<"$shown" | grep -v '^$')
  if [ -n "$other" ]; then
    echo "StartWithUmlautName: expected \"$expected\", the program shows: $other"
    echo "0 passed, 1 failed"
    exit 1
  fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
echo "StartWithUmlautName: no window \"$expected\"; shown: $(titles | tr '\n' '|'); log:"
cat "$work/run.log"
echo "0 passed, 1 failed"
exit 1
