#!/usr/bin/env bash
# The cost of a whole location request: tolvexgateway on a geocode link with the default
# option file, the opener replaced by a program that does nothing, against a minimal C
# program started the same way, interleaved, many times. Prints both medians, the ratio and
# the peak resident memory of the request.
#
#   bench/request.sh [BIN_DIR] [RUNS]     (defaults: build/linux-release/bin, 2000)
set -euo pipefail
bin=$(realpath "${1:-build/linux-release/bin}")
runs=${2:-2000}

stand_in=$(mktemp -d)
trap 'rm -rf "$stand_in"' EXIT
ln -s "$(type -P true)" "$stand_in/xdg-open"

results=$(PATH="$stand_in:$PATH" "$bin/run_timer" "$runs" \
  -- "$bin/minimal_program" \
  -- "$bin/tolvexgateway" "TolVex:SD9.XC4.EQ2.CV5")
base_us=$(echo "$results" | sed -n 1p | cut -d' ' -f1)
gate_us=$(echo "$results" | sed -n 2p | cut -d' ' -f1)
gate_rss=$(echo "$results" | sed -n 2p | cut -d' ' -f2)
ratio=$(awk -v g="$gate_us" -v b="$base_us" 'BEGIN { printf "%.2f", g / b }')

echo "request path, median of $runs runs each (wall time from spawn to exit):"
echo "  minimal C program     ${base_us} us"
echo "  tolvexgateway request ${gate_us} us   (geocode link, default option file, opener stand-in)"
echo "  ratio                 ${ratio}x   (goal: at most 3x)"
echo "  peak RSS of a request $((gate_rss)) KiB   (goal: at most 4096 KiB)"
