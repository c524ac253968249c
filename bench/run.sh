#!/usr/bin/env bash
# Measures the toy's speed and memory beside small X programs of its own kind, prints one
# table and writes it, with what the figures mean, into docs/performance.md. `make bench`
# builds everything and then runs this.
#
#   bench/run.sh            all of it (about three minutes)
#
# What is measured:
#   1. dorgo_bench, the toolkit's own figures: a full composite of the 575x405 window, and one
#      pointer move during a drag answered with a presented frame (handler, composite,
#      present into memory). Medians of several repetitions.
#   2. In an X server of our own (Xvfb 1280x1024x24, openbox): the toy, xeyes, xclock -update 1
#      and oneko side by side, each started afresh in every run, idle for a 30 s window after a
#      short settle: resident memory, wake-ups a second, processor time, and the time from
#      start to the first frame on the screen. Medians of several runs.
#   3. The toy alone while xdotool drags its fish back and forth for 30 s: processor time and
#      wake-ups. Then, in a second session, frame_probe drags the same way but sends each move
#      itself and times it until the window's next damage report: the move-to-frame latency
#      of the real program in a real window.
#
# All four programs are measured at the same time in the same X server: each is idle, their
# windows do not overlap and the pointer stays still, so none of them gives another anything
# to do, and all of them see exactly the same conditions. One by one would take four times as
# long and measure nothing else.
#
# Every process started here is ended by the trap, by its process id.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${DORGO_BUILD_DIR:-$root/build}
toy=$build/Dorgo
bench_program=$build/bench/dorgo_bench
probe=$build/bench/frame_probe
doc=$root/docs/performance.md

runs=3               # idle runs; every program is started afresh in each
idle_window=30       # seconds measured in each idle run
settle=3             # seconds between the last program's first frame and the idle window
drag_window=30       # seconds of the scripted drag
latency_window=10    # seconds of the probe's timed drag
move_rate=60         # pointer moves a second while dragging, a human pace
bench_repetitions=5

# Where the drag goes, in the toy's client coordinates: the press lands on the fish where it
# appears at start-up, then the pointer goes back and forth along the same row across the
# window's left half, where nothing reacts to the fish.
press_x=256
press_y=136
drag_from_x=40
drag_to_x=270
drag_step=3

# Limits, in seconds, for things that are waited for.
display_limit=20
frame_limit=15
exit_limit=5

die() {
  echo "bench: $*" >&2
  exit 1
}

oneko=$(command -v oneko || echo /usr/games/oneko)
for tool in Xvfb openbox xdotool xprop xeyes xclock "$oneko"; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/install-deps.sh bench)"
done
for built in "$toy" "$bench_program" "$probe"; do
  [[ -x $built ]] || die "$built is not built (make bench builds it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/dorgo-bench.XXXXXX")
started=()

alive() {
  local state
  state=$(awk '{ sub(/.*\) /, ""); print $1 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z ]]
}

# Ends the given processes: TERM, a bounded wait, then KILL for any that would not go.
end_processes() {
  local pid deadline
  for pid in "$@"; do
    if alive "$pid"; then kill "$pid" 2>/dev/null || true; fi
  done
  deadline=$((SECONDS + exit_limit))
  for pid in "$@"; do
    while alive "$pid" && ((SECONDS < deadline)); do sleep 0.02; done
    if alive "$pid"; then kill -KILL "$pid" 2>/dev/null || true; fi
  done
  for pid in "$@"; do
    wait "$pid" 2>/dev/null || true
  done
  # Ended processes leave the list, so that the trap never signals a process id that the
  # system has since given to somebody else.
  local kept=() p gone
  for p in "${started[@]}"; do
    gone=0
    for pid in "$@"; do [[ $p == "$pid" ]] && gone=1; done
    ((gone)) || kept+=("$p")
  done
  started=("${kept[@]}")
}

cleanup() {
  local i reversed=()
  # Last started, first ended: programs before the window manager, that before the server.
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do reversed+=("${started[i]}"); done
  ((${#reversed[@]})) && end_processes "${reversed[@]}"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now_us() {
  local t=${EPOCHREALTIME/./}
  echo "$((10#$t))"
}

# ---- 1. The toolkit's own figures ----

echo "dorgo_bench: $bench_repetitions repetitions of each benchmark"
"$bench_program" --benchmark_filter='^(FullComposite|DragMoveToPresentedFrame|DragMoveOverTheCreature)$' \
  --benchmark_repetitions="$bench_repetitions" --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$work/bench.csv" 2>"$work/bench.err" || { cat "$work/bench.err" >&2; die "dorgo_bench failed"; }

# Median real time of one benchmark, in microseconds.
bench_median_us() {
  awk -F, -v name="\"$1_median\"" '$1 == name {
    t = $3; u = $5; gsub(/"/, "", u)
    if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1000000
    printf "%.3f\n", t }' "$work/bench.csv"
}
composite_us=$(bench_median_us FullComposite)
move_us=$(bench_median_us DragMoveToPresentedFrame)
move_creature_us=$(bench_median_us DragMoveOverTheCreature)
[[ -n $composite_us && -n $move_us && -n $move_creature_us ]] || die "dorgo_bench gave no medians (see its output in $work)"

# ---- A display of our own, with a window manager ----

# -displayfd lets the server take a free display number itself, so that other test runs with
# servers of their own never clash with this one. A black root (-br) keeps a window that has
# not drawn yet all one colour, which the first-frame test relies on.
Xvfb -displayfd 3 -br -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
started+=("$xvfb_pid")
deadline=$((SECONDS + display_limit))
until grep -q '^[0-9]' "$work/display" 2>/dev/null; do
  alive "$xvfb_pid" || die "Xvfb did not start: $(cat "$work/xvfb.log")"
  ((SECONDS < deadline)) || die "Xvfb did not start within ${display_limit}s"
  sleep 0.02
done
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
started+=("$!")
deadline=$((SECONDS + display_limit))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  ((SECONDS < deadline)) || die "openbox did not start within ${display_limit}s"
  sleep 0.02
done
echo "X server $DISPLAY with openbox"

# The pointer rests below the toy's window, away from every window: oneko's cat sits down next
# to it without crossing any of them.
xdotool mousemove 700 640

# ---- Starting a program and seeing its first frame ----

declare -A program_pid probe_pid program_window client_x client_y first_frame_us

# launch NAME COMMAND...: starts the program under frame_probe and waits for its first frame.
launch() {
  local name=$1 out=$work/$1.launch
  shift
  : >"$out"
  "$probe" launch --timeout-ms $((frame_limit * 1000)) -- "$@" >"$out" 2>"$work/$name.err" &
  probe_pid[$name]=$!
  started+=("$!")
  local deadline=$((SECONDS + frame_limit + 2))
  until grep -q '^first_frame_us' "$out"; do
    alive "${probe_pid[$name]}" || die "$name showed no first frame: $(cat "$work/$name.err")"
    ((SECONDS < deadline)) || die "$name showed no first frame within ${frame_limit}s"
    sleep 0.01
  done
  local key a b c rest
  while read -r key a b c rest; do
    case $key in
      pid) program_pid[$name]=$a; started+=("$a") ;;
      window) program_window[$name]=$a; client_x[$name]=$b; client_y[$name]=$c ;;
      first_frame_us) first_frame_us[$name]=$a ;;
    esac
  done <"$out"
}

# finish NAME: ends the program and the probe that started it.
finish() {
  end_processes "${program_pid[$1]}" "${probe_pid[$1]}"
}

names=(toy xeyes xclock oneko)
declare -A command_of=(
  [toy]="$toy"
  [xeyes]="xeyes -geometry 150x100+820+40"
  [xclock]="xclock -update 1 -geometry 164x164+820+260"
  [oneko]="$oneko"
)

start_all() {
  local name
  for name in "${names[@]}"; do
    # shellcheck disable=SC2086 # the commands are words on purpose
    launch "$name" ${command_of[$name]}
  done
}
# A program that ended by itself would leave no figures to read.
check_running() {
  local name
  for name in "${names[@]}"; do
    alive "${program_pid[$name]}" || die "$name (${command_of[$name]}) ended by itself: $(cat "$work/$name.err")"
  done
}
finish_all() {
  local name
  for name in "${names[@]}"; do finish "$name"; done
}

# Once without measuring: openbox has then handled a window of each kind, and the programs and
# their libraries are in the page cache, as on a desktop where they have run before.
start_all
finish_all

# ---- What /proc tells about a process ----

clock_ticks=$(getconf CLK_TCK)

# snapshot PID: "TICKS RUNTIME_US SWITCHES RSS_KB PSS_KB" for the whole process, all threads.
# TICKS is utime+stime from /proc/PID/stat, which the kernel counts in 1/CLK_TCK s; RUNTIME_US
# is the scheduler's exact time on a processor (se.sum_exec_runtime, where the kernel shows
# it); SWITCHES counts voluntary and involuntary context switches, that is wake-ups.
snapshot() {
  local pid=$1 stat ticks runtime switches rss pss
  local -a fields
  stat=$(<"/proc/$pid/stat")
  stat=${stat##*) }
  read -r -a fields <<<"$stat"
  ticks=$((fields[11] + fields[12]))
  runtime=$(cat /proc/"$pid"/task/*/sched 2>/dev/null | awk '/^se.sum_exec_runtime/ { ms += $3; n++ } END { if (n) printf "%.0f", ms * 1000; else print "-" }')
  switches=$(cat /proc/"$pid"/task/*/status | awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }')
  rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
  pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup" 2>/dev/null || echo -)
  echo "$ticks $runtime $switches $rss $pss"
}

# Appends "figure program value" lines to the results.
results=$work/results
: >"$results"
record() { echo "$1 $2 $3" >>"$results"; }

# difference BEFORE AFTER ELAPSED_US NAME PER_SECONDS: records the processor time and wake-ups
# between two snapshots, processor time as ms per PER_SECONDS.
difference() {
  local -a b a
  read -r -a b <<<"$1"
  read -r -a a <<<"$2"
  local elapsed=$3 name=$4 prefix=$5 per=$6
  record "$prefix.cpu_ticks_ms" "$name" "$(awk -v d=$((a[0] - b[0])) -v hz="$clock_ticks" -v e="$elapsed" -v per="$per" 'BEGIN { printf "%.3f", d * 1000 / hz * per * 1e6 / e }')"
  if [[ ${a[1]} != - && ${b[1]} != - ]]; then
    record "$prefix.cpu_ms" "$name" "$(awk -v d=$((a[1] - b[1])) -v e="$elapsed" -v per="$per" 'BEGIN { printf "%.3f", d / 1000 * per * 1e6 / e }')"
    record "$prefix.cpu_percent" "$name" "$(awk -v d=$((a[1] - b[1])) -v e="$elapsed" 'BEGIN { printf "%.3f", d * 100 / e }')"
  fi
  record "$prefix.cpu_ticks_percent" "$name" "$(awk -v d=$((a[0] - b[0])) -v hz="$clock_ticks" -v e="$elapsed" 'BEGIN { printf "%.3f", d * 1e6 / hz * 100 / e }')"
  record "$prefix.wakeups" "$name" "$(awk -v d=$((a[2] - b[2])) -v e="$elapsed" 'BEGIN { printf "%.3f", d * 1e6 / e }')"
}

# ---- 2. Idle, side by side ----

for ((run = 1; run <= runs; run++)); do
  echo "idle run $run of $runs: starting ${names[*]}, ${settle}s to settle, ${idle_window}s measured"
  start_all
  for name in "${names[@]}"; do
    record first_frame_ms "$name" "$(awk -v us="${first_frame_us[$name]}" 'BEGIN { printf "%.1f", us / 1000 }')"
  done
  sleep "$settle"
  check_running
  declare -A before=()
  for name in "${names[@]}"; do before[$name]=$(snapshot "${program_pid[$name]}"); done
  t0=$(now_us)
  sleep "$idle_window"
  t1=$(now_us)
  check_running
  for name in "${names[@]}"; do
    after=$(snapshot "${program_pid[$name]}")
    difference "${before[$name]}" "$after" $((t1 - t0)) "$name" idle 30
    read -r -a m <<<"$after"
    record idle.rss "$name" "$(awk -v k="${m[3]}" 'BEGIN { printf "%.2f", k / 1024 }')"
    [[ ${m[4]} != - ]] && record idle.pss "$name" "$(awk -v k="${m[4]}" 'BEGIN { printf "%.2f", k / 1024 }')"
  done
  finish_all
done

# ---- 3. The toy alone, dragging ----

echo "drag: the toy alone, xdotool drags the fish for ${drag_window}s at $move_rate moves a second"
launch toy "$toy"
ox=${client_x[toy]}
oy=${client_y[toy]}
window=${program_window[toy]}

"$probe" count "$window" >"$work/count.out" 2>"$work/count.err" &
count_pid=$!
started+=("$count_pid")
deadline=$((SECONDS + frame_limit))
until grep -q '^ready' "$work/count.out"; do
  alive "$count_pid" || die "frame_probe count failed: $(cat "$work/count.err")"
  ((SECONDS < deadline)) || die "frame_probe count did not start"
  sleep 0.01
done

# One xdotool for the whole session: a process per move would cost more than the toy does.
moves=$((drag_window * move_rate))
pause=$(awk -v r="$move_rate" 'BEGIN { printf "%.4f", 1 / r }')
script=(mousemove $((ox + press_x)) $((oy + press_y)) mousedown 1)
x=$press_x
dx=-$drag_step
for ((i = 0; i < moves; i++)); do
  if ((x + dx < drag_from_x || x + dx > drag_to_x)); then dx=$((-dx)); fi
  x=$((x + dx))
  script+=(mousemove $((ox + x)) $((oy + press_y)) sleep "$pause")
done
script+=(mouseup 1)

before_drag=$(snapshot "${program_pid[toy]}")
t0=$(now_us)
timeout $((drag_window * 3)) xdotool "${script[@]}" || die "xdotool did not finish the drag"
t1=$(now_us)
after_drag=$(snapshot "${program_pid[toy]}")
end_processes "$count_pid"
frames=$(awk '/^frames/ { print $2 }' "$work/count.out")
difference "$before_drag" "$after_drag" $((t1 - t0)) toy drag 30
record drag.moves_per_second toy "$(awk -v n="$moves" -v e=$((t1 - t0)) 'BEGIN { printf "%.1f", n * 1e6 / e }')"
record drag.frames_per_move toy "$(awk -v f="$frames" -v n="$moves" 'BEGIN { printf "%.3f", f / n }')"
finish toy
# A press that missed the fish would leave nothing to draw, and the figures above would be
# those of an idle toy.
awk -v f="$frames" -v n="$moves" 'BEGIN { exit !(f >= n * 0.9) }' ||
  die "the drag drew $frames frames for $moves moves: the press at ($press_x, $press_y) missed the fish"

echo "drag: the toy alone, frame_probe times each move until the frame for ${latency_window}s"
launch toy "$toy"
read -r _ probe_moves _ probe_frames _ median_us _ p90_us _ max_us < <(
  "$probe" drag "${program_window[toy]}" "$press_x" "$press_y" "$drag_from_x" "$drag_to_x" "$press_y" \
    "$drag_step" "$move_rate" "$latency_window")
finish toy
[[ -n ${max_us:-} ]] || die "frame_probe drag gave no result"
((probe_frames >= probe_moves * 9 / 10)) ||
  die "the timed drag drew $probe_frames frames for $probe_moves moves: the press missed the fish"
record drag.latency_median_ms toy "$(awk -v u="$median_us" 'BEGIN { printf "%.3f", u / 1000 }')"
record drag.latency_p90_ms toy "$(awk -v u="$p90_us" 'BEGIN { printf "%.3f", u / 1000 }')"
record drag.latency_max_ms toy "$(awk -v u="$max_us" 'BEGIN { printf "%.3f", u / 1000 }')"

# ---- 4. The table ----

# median FIGURE PROGRAM: the median over the runs, or "-" where nothing was measured.
median() {
  awk -v f="$1" -v p="$2" '$1 == f && $2 == p { v[n++] = $3 }
    END {
      if (!n) { print "-"; exit }
      for (i = 1; i < n; i++) for (j = i; j > 0 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      print (n % 2) ? v[int(n / 2)] : (v[n / 2 - 1] + v[n / 2]) / 2
    }' "$results"
}

# fmt DECIMALS VALUE
fmt() {
  [[ $2 == - ]] && { echo -; return; }
  awk -v d="$1" -v v="$2" 'BEGIN { printf "%.*f\n", d, v }'
}

# ratio TOY PEER: how many times the peer's figure the toy's is.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    if (a == "-" || b == "-") { print "-"; exit }
    if (b == 0) { print (a == 0) ? "=" : "n/a"; exit }
    r = a / b
    if (r >= 10) printf "%.0fx\n", r; else if (r >= 1) printf "%.1fx\n", r; else printf "%.2fx\n", r
  }'
}

# verdict VALUE OPERATOR LIMIT
verdict() {
  awk -v v="$1" -v op="$2" -v l="$3" 'BEGIN {
    if (v == "-") { print "-"; exit }
    ok = (op == "<=") ? (v <= l) : (v < l)
    print ok ? "met" : "MISSED"
  }'
}

table=$work/table.tsv
: >"$table"
# row FIGURE DECIMALS RESULT_KEY TARGET_OPERATOR TARGET_LIMIT [peers]
row() {
  local label=$1 decimals=$2 key=$3 op=$4 limit=$5 peers=${6:-peers}
  local t x c o target="-" ok="-"
  t=$(median "$key" toy)
  if [[ $peers == peers ]]; then
    x=$(median "$key" xeyes)
    c=$(median "$key" xclock)
    o=$(median "$key" oneko)
  else
    x=- c=- o=-
  fi
  if [[ $op != - ]]; then
    target="$op $limit"
    ok=$(verdict "$t" "$op" "$limit")
  fi
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$label" "$(fmt "$decimals" "$t")" \
    "$(fmt "$decimals" "$x")" "$(fmt "$decimals" "$c")" "$(fmt "$decimals" "$o")" \
    "$(ratio "$t" "$x")" "$(ratio "$t" "$c")" "$(ratio "$t" "$o")" "$target" "$ok" >>"$table"
}

record bench.composite_us toy "$composite_us"
record bench.move_us toy "$move_us"
record bench.move_creature_us toy "$move_creature_us"

printf 'Figure\tDorgo\txeyes\txclock\toneko\tvs xeyes\tvs xclock\tvs oneko\tTarget\tResult\n' >"$table"
row "Idle: resident memory, VmRSS (MiB)" 1 idle.rss "<=" 12
row "Idle: proportional memory, Pss (MiB)" 1 idle.pss - -
row "Idle: wake-ups per second" 2 idle.wakeups "<=" 2
row "Idle: CPU per 30 s, utime+stime (ms)" 0 idle.cpu_ticks_ms "<=" 10
row "Idle: CPU per 30 s, on-CPU time (ms)" 2 idle.cpu_ms "<=" 10
row "Start to first frame (ms)" 1 first_frame_ms "<=" 150
row "Drag: CPU, on-CPU time (% of one core)" 2 drag.cpu_percent "<" 3 toy
row "Drag: CPU, utime+stime (% of one core)" 2 drag.cpu_ticks_percent "<" 3 toy
row "Drag: wake-ups per second" 1 drag.wakeups - - toy
row "Drag: pointer moves per second" 1 drag.moves_per_second - - toy
row "Drag: frames presented per move" 2 drag.frames_per_move - - toy
row "Drag: move to frame, real window, median (ms)" 2 drag.latency_median_ms "<" 2 toy
row "Drag: move to frame, real window, 90th pct (ms)" 2 drag.latency_p90_ms - - toy
row "Drag: move to frame, real window, max (ms)" 2 drag.latency_max_ms - - toy
row "dorgo_bench: full composite 575x405 (us)" 1 bench.composite_us "<" 300 toy
row "dorgo_bench: move to frame in memory (us)" 1 bench.move_us "<" 2000 toy
row "dorgo_bench: same, fish over the creature (us)" 1 bench.move_creature_us "<" 2000 toy

echo
awk -F'\t' '
  { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } }
  END {
    for (r = 1; r <= NR; r++) {
      line = sprintf("%-*s", w[1], cell[r, 1])
      for (i = 2; i <= NF; i++) line = line sprintf("  %*s", w[i], cell[r, i])
      print line
      if (r == 1) { rule = ""; for (i = 1; i <= length(line); i++) rule = rule "-"; print rule }
    }
  }' "$table"
echo

# ---- The same table, explained, in docs/performance.md ----

markdown_table=$(awk -F'\t' '
  { line = "|"; for (i = 1; i <= NF; i++) line = line " " $i " |"; print line
    if (NR == 1) { line = "|---|"; for (i = 2; i <= NF; i++) line = line "---:|"; print line } }' "$table")
cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)

cat >"$doc" <<EOF
# Performance

Measured with \`make bench\` (\`bench/run.sh\`) on $(date -u +%Y-%m-%d), $(nproc) × ${cpu_model:-unknown processor},
Linux $(uname -r), Xvfb 1280×1024×24 with openbox. Idle figures and first frames are medians of
$runs runs, the dorgo_bench figures medians of $bench_repetitions repetitions. "vs" columns are the toy's figure
divided by the peer's ("n/a": the peer's is 0).

$markdown_table

## What the figures mean

- **Idle**: the toy, \`xeyes\`, \`xclock -update 1\` and \`oneko\` run side by side in the same
  X server, each started afresh in every run; after ${settle} s to settle, ${idle_window} s are measured with
  the pointer still. They are measured at the same time because they are idle, their windows
  do not overlap and nothing moves, so none gives another work, and all see the same conditions;
  one by one would take four times as long.
  - *VmRSS*: resident memory at the end of the window (\`/proc/PID/status\`). *Pss*: the same
    with shared pages divided among the processes that share them (\`/proc/PID/smaps_rollup\`).
    1 MiB = 1024 kB.
  - *Wake-ups per second*: voluntary and involuntary context switches of all threads
    (\`/proc/PID/task/*/status\`) over the window. They are whole counts, and a wait whose
    answer is already there costs none, so a program that wakes twice a second reads
    2.00 ± 0.1.
  - *CPU, utime+stime*: \`/proc/PID/stat\`, which counts in ticks of 10 ms, so small figures
    are 0 or 10. *CPU, on-CPU time*: the scheduler's exact time on a processor
    (\`se.sum_exec_runtime\` in \`/proc/PID/task/*/sched\`).
- **Start to first frame**: from just before the program is started to the first moment its
  window shows more than one colour on the screen, as seen by \`frame_probe\` through X DAMAGE
  reports (for oneko, whose cat is its window's background, the map of the window).
- **Drag**: the toy alone. xdotool presses on the fish right after start-up at client (256, 136)
  (the client origin is read from the window, where openbox put it), moves the pointer back and
  forth across the window's left half in ${drag_step}-pixel steps, ${move_rate} moves a second for ${drag_window} s, and
  releases. CPU is per one core over that time; *frames presented per move* counts the
  window's damage reports (about one per presented frame).
- **Move to frame, real window**: a second ${latency_window} s drag in which \`frame_probe\` sends each move
  itself with XTEST and waits for the window's next damage report: the time from the move
  leaving the probe to the new frame being in the X server's framebuffer, which includes the
  server, SDL, the toy's handler, composite and present.
- **dorgo_bench**: the toolkit without a window system. *Full composite*: every element drawn
  into a 575×405 frame. *Move to frame in memory*: one pointer move during a drag, the drag-over
  handler, the composite of the changed area and its copy into a memory surface.

## Where the floor is

- Idle: the toy has two 1 s timers, so 1–2 wake-ups a second and nothing in between (through
  SDL, each present also waits for the X server's answer to an XSync: the second wake-up);
  processor time is then close to nothing; memory is about what the window system's own
  libraries (libc, libstdc++, SDL, Xlib and its extensions) take once mapped.
- Drag: one composite of the changed area and one present per pointer move, nothing more.

## Targets

| Figure | Target |
|---|---|
| Idle wake-ups | ≤ 2 a second |
| Idle CPU | ≤ 10 ms per 30 s (≤ 6.7 ms per 20 s) |
| Resident memory | ≤ 12 MiB (12 288 kB) |
| Start to first frame | ≤ 150 ms |
| Full composite | < 0.3 ms |
| Move to presented frame | < 2 ms median |
| Scripted drag | < 3 % of one core |
EOF
echo "written to docs/performance.md"
