#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and
# --version print and end with 0, an unknown option gives one line and 2.
set -u
program=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "$*"; exit 1; }

out=$("$program" --version) || fail "--version ended with $?"
[[ $out =~ ^korven\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed: $out"
out=$("$program" --help) || fail "--help ended with $?"
[[ $out == "Usage: korven [options] [file]"* ]] || fail "--help printed: $out"
err=$("$program" --bogus 2>&1 >/dev/null)
status=$?
[ "$status" -eq 2 ] || fail "--bogus ended with $status"
[ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "--bogus printed: $err"
echo "command line: ok"
