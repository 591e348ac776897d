#!/usr/bin/env bash
# The demo runs from its own copy with its own settings file: the user's file stays byte for
# byte, while the demo's file points its COM1 at the simulator.
# Usage: demo-keeps-user-settings.sh <source folder> <build folder>
set -euo pipefail
source_dir=$1 build=$2
tmp=$(mktemp -d)
trap 'kill -TERM -- -"$pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/tools/adapter-sim"
cp "$build/wykresownik" "$tmp/"
cp "$build/tools/adapter-sim/adapter-sim" "$tmp/tools/adapter-sim/"
printf '[COM]\r\nPort=1\r\nTyp=2\r\nCOM1=/dev/ttyUSB0\r\n' >"$tmp/wykresownik.INI"
cp "$tmp/wykresownik.INI" "$tmp/expected.INI"

QT_QPA_PLATFORM=offscreen setsid "$source_dir/scripts/run-demo" "$tmp" 2>"$tmp/log" &
pid=$!
for _ in $(seq 100); do
  grep -q "COM1=$tmp/demo/adapter-sim.tty" "$tmp/demo/wykresownik.INI" 2>/dev/null && break
  sleep 0.2
done
grep -q "COM1=$tmp/demo/adapter-sim.tty" "$tmp/demo/wykresownik.INI" || { cat "$tmp/log"; echo "demo settings not written"; exit 1; }
sleep 1
pgrep -f "$tmp/demo/wykresownik" >/dev/null || { cat "$tmp/log"; echo "demo program not running"; exit 1; }
kill -TERM -- -"$pid"
wait "$pid" || true
cmp "$tmp/wykresownik.INI" "$tmp/expected.INI" || { echo "user settings changed"; exit 1; }
! pgrep -f "$tmp/" >/dev/null || { echo "demo left processes running"; exit 1; }
echo "demo kept the user's settings: 1 passed, 0 failed"
