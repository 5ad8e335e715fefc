#!/bin/sh
# Runs a command with ORLIVEX_TEST_FIFO naming a FIFO that a reader waits on for ever: a writer holds
# it open and never writes (Wine opens a FIFO without waiting for a writer, so one must be there).
set -eu
fifo=$(mktemp -u /tmp/orlivex-stuck.XXXXXX)
mkfifo "$fifo"
sleep 600 3<>"$fifo" &
writer=$!
trap 'kill "$writer" 2>/dev/null; rm -f "$fifo"' EXIT
ORLIVEX_TEST_FIFO=$fifo "$@"
