#!/usr/bin/env bash
# Starts the program on a private X server and waits (bounded) until a
# window titled "KORVEN" is mapped, then ends it.
set -u
if [ "${1:-}" != "--on-display" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display "$1"
fi
program=$2
"$program" &
pid=$!
deadline=$((SECONDS + 30))
while (( SECONDS < deadline )); do
  if xwininfo -name KORVEN 2>/dev/null | grep -q 'Map State: IsViewable'; then
    echo "KORVEN window mapped"
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null
    exit 0
  fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "korven exited before its window was mapped"; exit 1; fi
  sleep 0.2
done
echo "no mapped KORVEN window within 30 s"
kill -KILL "$pid"
exit 1
