#!/usr/bin/env bash
# Builds the benchmarks and prints one table per performance figure (figures, not tests):
#   1. the cost of a log pass by log size, whole log against the follower (native, Google
#      Benchmark);
#   2. files counted per second on a generated tree of 100,000 files: the program's count and
#      "dir /s" under Wine, "find" natively;
#   3. CPU and memory of the program while it follows an idle 5 MiB log, against the window
#      open without a run (under Wine; the whole-log reader's figures are in
#      docs/performance.md);
#   4. time from start to the visible window against a bare window with the same manifest,
#      started by turns in one run, and both starts step by step as seen from outside (under
#      Wine);
#   5. the program's count over a tree of 1,000,000 files against a bare FindFirstFileExW walk
#      of the same tree (under Wine);
#   6. the longest wait for the window to answer WM_NULL, asked every 50 ms by another
#      process, while a run starts over that tree (under Wine);
#   7. reading a folder of 100,000 files into the file list against one plain listing of that
#      folder (under Wine).
# Takes several minutes. Build folders: REPLIMAR_BENCH_NATIVE_DIR (default build/bench) and
# REPLIMAR_BENCH_MINGW_DIR (default build/bench-mingw), which also holds the benchmark's own
# Wine prefix and file trees (the big ones of items 5 to 7 in big-trees/, made once by
# tests/helpers/make_big_trees.py and kept). REPLIMAR_BENCH_SECONDS sets the measuring time of
# item 3 (30); REPLIMAR_BENCH_ITEMS chooses the items to run (default "1 2 3 4 5 6 7", e.g.
# "5 6 7").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
native=${REPLIMAR_BENCH_NATIVE_DIR:-$root/build/bench}
mingw=${REPLIMAR_BENCH_MINGW_DIR:-$root/build/bench-mingw}
seconds=${REPLIMAR_BENCH_SECONDS:-30}
items=" ${REPLIMAR_BENCH_ITEMS:-1 2 3 4 5 6 7} "
item() { [[ $items == *" $1 "* ]]; }
prefix=$mingw/wineprefix
tree=$prefix/drive_c/bench-tree
big_trees=$mingw/big-trees
flags=$mingw/bench-flags
jobs=$(nproc)
tick=$(getconf CLK_TCK)

"$root/scripts/install-deps.sh"

# Runs a command quietly; shows its output only when it fails.
quiet() {
  local out
  out=$(mktemp)
  if ! "$@" >"$out" 2>&1; then
    cat "$out"
    rm -f "$out"
    return 1
  fi
  rm -f "$out"
}

echo "== building (native: $native, MinGW: $mingw)"
if item 1; then
  quiet cmake --preset bench -B "$native"
  quiet cmake --build "$native" -j"$jobs" --target replimar_bench_log
fi
targets=(ReplimarKORVELL replimar_bench_count replimar_bench_idle_tool replimar_bench_driver)
item 4 && targets+=(replimar_bench_bare_window)
item 7 && targets+=(replimar_bench_file_list)
quiet cmake --preset mingw-bench -B "$mingw"
quiet cmake --build "$mingw" -j"$jobs" --target "${targets[@]}"

echo
if item 1; then
  echo "== 1. Pass cost against log size (native, $jobs cores; CPU time per pass)"
  "$native/bench/replimar_bench_log" 2>/dev/null
fi

. "$root/scripts/wine-env.sh"
replimar_ensure_display
cleanup() {
  [ -d "$flags" ] && touch "$flags/stop"
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  [ -n "${REPLIMAR_XVFB_PID:-}" ] && kill "$REPLIMAR_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
replimar_prepare_prefix "$prefix" 96
wine_run() { "$REPLIMAR_WINE" "$@" 2>/dev/null | tr -d '\r'; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
now() { date +%s.%N; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
calc() { awk "BEGIN {printf \"${2:-%.3f}\n\", $1}"; } # expression [format]
goal() { awk "BEGIN {print ($1) ? \"met\" : \"not met\"}"; }

echo
if item 2; then
echo "== 2. Files counted per second (1000 folders x 100 files; median of 3 runs)"
if [ "$(find "$tree" -type f 2>/dev/null | wc -l)" != 100000 ]; then
  rm -rf "$tree"
  for d in $(seq -w 0 999); do
    mkdir -p "$tree/d$d"
    (cd "$tree/d$d" && touch f{000..099}.txt)
  done
fi
row='%-36s %9s %10s %12s\n'
printf "$row" method files seconds files/s
counts=$(wine_run "$mingw/bench/replimar_bench_count.exe" 'C:\bench-tree' 3)
echo "$counts"
times=$(for _ in 1 2 3; do
  start=$(now)
  find "$tree" -type f | wc -l >/dev/null
  calc "$(now) - $start"
done)
found=$(find "$tree" -type f | wc -l)
took=$(median <<<"$times")
printf "$row" "find -type f | wc -l (native)" "$found" "$took" "$(calc "$found / $took" %.0f)"
count_s=$(awk '/^TFileCount/ {print $(NF - 1)}' <<<"$counts")
dir_s=$(awk '/^cmd/ {print $(NF - 1)}' <<<"$counts")
echo "goal: the count no slower than dir /s under Wine: $(goal "$count_s <= $dir_s")" \
  "($(calc "$dir_s / $count_s" %.1f) times as fast)"
fi

# The Unix process of a program of the prefix, by the Windows path it was started from.
unix_pid() {
  local p first
  for p in /proc/[0-9]*; do
    IFS= read -r -d '' first <"$p/cmdline" 2>/dev/null || continue
    [ "$first" = "$1" ] && echo "${p#/proc/}" && return
  done
  return 1
}
wineserver_pid() {
  local p
  for p in /proc/[0-9]*; do
    case $(cat "$p/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
    grep -qxz "WINEPREFIX=$prefix" "$p/environ" 2>/dev/null && echo "${p#/proc/}" && return
  done
  return 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
status_kib() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
# Waits for the driver to print a line (its output ends lines with CR LF).
wait_for_line() { # file text seconds
  local _
  for _ in $(seq $(($3 * 5))); do
    grep -qxE "$2"$'\r''?' "$1" 2>/dev/null && return 0
    sleep 0.2
  done
  echo "no \"$2\" from the driver within $3 s" >&2
  return 1
}
row3='%-26s %8s %7s %11s %9s %9s %9s\n'
# Measures the program for $seconds and prints its row: CPU seconds of the program, its share
# of one core, CPU seconds of the wineserver, private memory before and now, peak resident.
# Leaves the program's CPU seconds in cpu_s.
measure() { # label pid server before
  local c0 s0 t0 c1 s1 t1
  c0=$(cpu_ticks "$2") s0=$(cpu_ticks "$3") t0=$(now)
  sleep "$seconds"
  c1=$(cpu_ticks "$2") s1=$(cpu_ticks "$3") t1=$(now)
  cpu_s=$(calc "($c1 - $c0) / $tick" %.2f)
  printf "$row3" "$1" "$cpu_s" "$(calc "100 * ($c1 - $c0) / $tick / ($t1 - $t0)" %.2f)" \
    "$(calc "($s1 - $s0) / $tick" %.2f)" "$4" "$(status_kib "$2" RssAnon)" "$(status_kib "$2" VmHWM)"
}
# Starts the program through the driver; measures it idle when idle_label is given, then while
# its run follows the idle log.
follow() { # exe label [idle_label]
  local out=$mingw/bench-driver.out pid server driver before
  rm -rf "$flags"
  mkdir -p "$flags"
  "$REPLIMAR_WINE" "$mingw/bench/replimar_bench_driver.exe" follow "$(windows_path "$1")" \
    "$(windows_path "$flags")" >"$out" 2>"$out.err" &
  driver=$!
  wait_for_line "$out" shown 60 || { grep '^driver:' "$out.err" >&2; return 1; }
  pid=$(unix_pid "$(windows_path "$1")") || { echo "no process of $1" >&2; return 1; }
  server=$(wineserver_pid) || { echo "no wineserver of $prefix" >&2; return 1; }
  sleep 2
  before=$(status_kib "$pid" RssAnon)
  [ -n "${3:-}" ] && measure "$3" "$pid" "$server" "$before"
  touch "$flags/go"
  wait_for_line "$out" following 120 || { grep '^driver:' "$out.err" >&2; return 1; }
  measure "$2" "$pid" "$server" "$before"
  touch "$flags/stop"
  wait "$driver" || { grep '^driver:' "$out.err" >&2; return 1; }
}

echo
if item 3; then
echo "== 3. The program following an idle 5 MiB UTF-16 log for $seconds s (under Wine)"
echo "CPU: seconds and share of one core of the program's process, and seconds of the"
echo "wineserver, which serves its system calls. Memory in KiB: private (RssAnon) before the"
echo "run and at the end, peak resident (VmHWM)."
cp -f "$mingw/bench/replimar_bench_idle_tool.exe" "$prefix/drive_c/windows/system32/robocopy.exe"
printf "$row3" program "CPU s" "CPU %" "wineserver" before end peak
follow "$mingw/main/ReplimarKORVELL.exe" "follower (incremental)" "window idle, no run"
# The whole-log reader is no longer built: its lowest share of a core on record
# (docs/performance.md, item 3) is the yardstick.
whole_share=11.6
share=$(calc "100 * $cpu_s / $seconds" %.2f)
echo "goal: CPU at most one tenth of the whole-log reader's ($whole_share % of a core on record):" \
  "$(goal "10 * $share <= $whole_share") (ratio $(calc "$share / $whole_share" %.3f))"
fi

echo
if item 4; then
echo "== 4. Time from start to the visible window against a bare window (under Wine; 10 starts"
echo "each by turns after one warm-up; the bare window has the program's manifest, caption and"
echo "one button). Then both again, their windows watched from outside, step by step."
wine_run "$mingw/bench/replimar_bench_driver.exe" startpair \
  "$(windows_path "$mingw/main/ReplimarKORVELL.exe")" \
  "$(windows_path "$mingw/bench/replimar_bench_bare_window.exe")" 10 | tee "$mingw/start.out"
ratio=$(awk '/^ratio of the medians/ {print $NF}' "$mingw/start.out")
echo "goal: start within 1.5 times the bare window's: $(goal "$ratio <= 1.5") (ratio $ratio)"
echo
wine_run "$mingw/bench/replimar_bench_driver.exe" startpair \
  "$(windows_path "$mingw/main/ReplimarKORVELL.exe")" \
  "$(windows_path "$mingw/bench/replimar_bench_bare_window.exe")" 10 steps
fi

# The big trees, made once with empty files and kept between runs.
big_tree() { # name
  if [ ! -d "$big_trees/$1" ]; then
    echo "(making $big_trees/$1 once)"
    python3 "$root/tests/helpers/make_big_trees.py" "$big_trees" "$1"
  fi
}
# Runs a benchmark program of the prefix with its output in file, then prints it; on failure
# shows the program's own complaints, not Wine's. Output goes to a file, not a pipe: a tool the
# program started would hold a pipe open after the program's end.
wine_bench() { # file program [arguments]
  local out=$1 err=$mingw/bench-program.err
  shift
  if ! "$REPLIMAR_WINE" "$@" >"$out" 2>"$err"; then
    grep -vE '^([0-9a-f]{4}:)?(fixme|err|warn|trace):' "$err" >&2 || true
    return 1
  fi
  tr -d '\r' <"$out" >"$out.text" && mv "$out.text" "$out"
  cat "$out"
}

echo
if item 5; then
big_tree tree1m
echo "== 5. The program's count over 1,000 folders x 1,000 empty files against a bare walk"
echo "(under Wine, by turns after one warm-up each, median of 3; the count in 20 ms slices as"
echo "a run does it, the walk with FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH)"
printf '%-36s %9s %10s %12s\n' method files seconds files/s
wine_bench "$mingw/walk.out" "$mingw/bench/replimar_bench_count.exe" walk \
  "$(windows_path "$big_trees/tree1m")" 3
ratio=$(awk '/^ratio of the medians/ {print $NF}' "$mingw/walk.out")
echo "goal: the count within 1.2 times the bare walk: $(goal "$ratio <= 1.2") (ratio $ratio)"
fi

echo
if item 6; then
big_tree tree1m
echo "== 6. The window answering while a run starts over 1,000,000 files (under Wine; WM_NULL"
echo "asked every 50 ms by the driver's second thread, from the click on \"Sincronizar Agora\""
echo "until the gauge leaves 0%, i.e. the count has ended). The idle stand-in is the tool: first"
echo "with a short log (20,000 lines \"100%\", 240 KB, as a real run's log begins), then with a"
echo "full 5 MiB log, whose first pass the run reads whole."
cp -f "$mingw/bench/replimar_bench_idle_tool.exe" "$prefix/drive_c/windows/system32/robocopy.exe"
for progress_lines in 20000 ""; do
  if [ -n "$progress_lines" ]; then echo "-- short log"; else echo "-- full 5 MiB log"; fi
  REPLIMAR_BENCH_PROGRESS_LINES=$progress_lines wine_bench "$mingw/answers.out" \
    "$mingw/bench/replimar_bench_driver.exe" answers \
    "$(windows_path "$mingw/main/ReplimarKORVELL.exe")" "$(windows_path "$big_trees/tree1m")"
  # The stand-in waits until it is ended: the prefix's processes end here.
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  longest=$(awk '/answers asked/ {print $(NF - 1)}' "$mingw/answers.out")
  echo "goal: no wait longer than 100 ms: $(goal "$longest <= 100") (longest $longest ms)"
done
fi

echo
if item 7; then
big_tree clips100k
echo "== 7. A folder of 100,004 files (100,000 *.mp4) read into the file list against one plain"
echo "FindFirstFileExW listing of it (under Wine; by turns after one warm-up each, median of 3)"
wine_bench "$mingw/file-list.out" "$mingw/bench/replimar_bench_file_list.exe" \
  "$(windows_path "$big_trees/clips100k")" 3
ratio=$(awk '/^ratio of the medians/ {print $NF}' "$mingw/file-list.out")
echo "goal: the list within 3 times the listing: $(goal "$ratio <= 3") (ratio $ratio)"
fi
