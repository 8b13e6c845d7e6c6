#!/usr/bin/env bash
# The time from starting `tolvexgateway option` to its window being shown on an X server
# (Xvfb of the script's own), with the default option file; then Esc closes it. Prints the
# median and the range over RUNS starts.
#
#   bench/dialog.sh [BIN_DIR] [RUNS]     (defaults: build/linux-release/bin, 20)
set -euo pipefail
bin=$(realpath "${1:-build/linux-release/bin}")
runs=${2:-20}
title='TolvexGateway   - Option -'

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -nolisten tcp -screen 0 1024x768x24 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
read -r -u "$fd" number
export DISPLAY=":$number"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
times=()
for _ in $(seq "$runs"); do
  start=$(now_us)
  "$bin/tolvexgateway" option 2>/dev/null &
  gateway=$!
  # xwininfo answers in about a millisecond; xdotool's own --sync polls only twice a second.
  until xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable'; do :; done
  times+=($(( $(now_us) - start )))
  window=$(xdotool search --name "^$title\$" | head -1)
  until ! kill -0 "$gateway" 2>/dev/null; do
    xdotool windowfocus "$window" key --window "$window" Escape 2>/dev/null || true
    sleep 0.05
  done
  wait "$gateway" || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( ${#sorted[@]} / 2 ))]}
echo "option dialog, $runs starts (spawn to window shown, Xvfb):"
echo "  median $(( median / 1000 )) ms   range $(( sorted[0] / 1000 ))-$(( sorted[-1] / 1000 )) ms"
