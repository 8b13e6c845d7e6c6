#!/usr/bin/env bash
# The time from starting the program to its window being shown on an X server (Xvfb of the
# script's own), side by side in one run: `tolvexgateway option` (the option window) and a link
# with an option file that asks at each link (the place card), started in turns so that both
# meet the same machine; Esc then closes each. Prints the median and the range over RUNS starts
# of each, and the card's median as a multiple of the option window's.
#
#   bench/dialog.sh [BIN_DIR] [RUNS]     (defaults: build/linux-release/bin, 20)
set -euo pipefail
bin=$(realpath "${1:-build/linux-release/bin}")
runs=${2:-20}
option_title='TolvexGateway   - Option -'
card_title='TolvexGateway   - Open -'

exec {fd}<> <(:)
# -noreset: the server must not reset between two starts, when its last client has left; a
# start that met a resetting server would find no display and show no window.
Xvfb -displayfd "$fd" -nolisten tcp -screen 0 1024x768x24 -noreset 2>/dev/null &
xvfb=$!
config=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$config"' EXIT
read -r -u "$fd" number
export DISPLAY=":$number"
# The user's own option file, read by both: it asks at each link; its maps launch nothing.
mkdir -p "$config/tolvexgateway"
cat > "$config/tolvexgateway/tolvexgwoption.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<tolvexgateway_optionlist currentsetting="Map" ask="true">
  <option id="Map" area="World">true $ost</option>
  <option id="Atlas" area="Japan" datum="tokyo">true $lat $lon</option>
</tolvexgateway_optionlist>
XML
export XDG_CONFIG_HOME="$config"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
# Prints the microseconds from starting `tolvexgateway ARGUMENT` to the window `TITLE` shown.
measure() {
  local argument=$1 title=$2 start gateway window shown
  # The last start's window may still be on its way out (the card's process ends just after
  # answering its caller).
  while xwininfo -name "$title" >/dev/null 2>&1; do sleep 0.01; done
  start=$(now_us)
  "$bin/tolvexgateway" "$argument" 2>/dev/null &
  gateway=$!
  # xwininfo answers in about a millisecond; xdotool's own --sync polls only twice a second.
  until xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable'; do
    kill -0 "$gateway" 2>/dev/null || { echo "dialog.sh: no window \"$title\" came" >&2; exit 1; }
  done
  shown=$(( $(now_us) - start ))
  until ! kill -0 "$gateway" 2>/dev/null; do
    window=$(xdotool search --name "^$title\$" | head -1)
    [ -z "$window" ] || xdotool windowfocus "$window" key --window "$window" Escape 2>/dev/null || true
    sleep 0.05
  done
  wait "$gateway" || true
  echo "$shown"
}

option_times=()
card_times=()
for _ in $(seq "$runs"); do
  option_times+=($(measure option "$option_title"))
  card_times+=($(measure 'TolVex:SD9.XC4.EQ2.CV5' "$card_title"))
done

# Prints "MEDIAN MIN MAX" in microseconds.
summary() {
  local sorted
  sorted=($(printf '%s\n' "$@" | sort -n))
  echo "${sorted[$(( ${#sorted[@]} / 2 ))]} ${sorted[0]} ${sorted[-1]}"
}
read -r option_median option_min option_max <<< "$(summary "${option_times[@]}")"
read -r card_median card_min card_max <<< "$(summary "${card_times[@]}")"
echo "$runs starts each (spawn to window shown, Xvfb, in turns):"
echo "  option window  median $(( option_median / 1000 )) ms   range $(( option_min / 1000 ))-$(( option_max / 1000 )) ms"
echo "  place card     median $(( card_median / 1000 )) ms   range $(( card_min / 1000 ))-$(( card_max / 1000 )) ms"
echo "  card / option window: $(( card_median * 100 / option_median ))%"
