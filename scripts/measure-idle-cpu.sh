#!/usr/bin/env bash
# Measures what Tolvane costs while nobody touches it: the process CPU time (utime + stime
# from /proc/PID/stat, and the finer per-thread run time from /proc/PID/task/*/schedstat)
# over a measuring window after the program has settled, each case on a fresh Xvfb screen.
#
#   bash scripts/measure-idle-cpu.sh [PROGRAM] [SETTLE_SECONDS] [MEASURE_SECONDS]
#
# PROGRAM defaults to build/src/app/tolvane; the windows default to 5 s and 10 s. The cases:
# the window inactive (the X focus on the root window), and active (the X focus on the
# window) at scale 1 and at QT_SCALE_FACTOR=2. Needs xvfb-run (xvfb) and xdotool.
# utime + stime count 10 ms clock ticks, so over 10 s one tick is 0.1 %; the schedstat
# column resolves far below that.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
    # One case on the screen xvfb-run has just started.
    shift
    state=$1 program=$2 settle=$3 measure=$4
    "$program" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    window=$(xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n 1)
    if [ "$state" = active ]; then
        xdotool windowfocus --sync "$window"
    else
        xdotool windowfocus --sync "$(xdotool search --maxdepth 0 --class '' | head -n 1)"
    fi
    sleep "$settle"

    ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
    runNanoseconds() { cat /proc/"$pid"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
    ticks0=$(ticks) run0=$(runNanoseconds)
    sleep "$measure"
    ticks1=$(ticks) run1=$(runNanoseconds)
    awk -v t="$((ticks1 - ticks0))" -v hz="$(getconf CLK_TCK)" -v s="$measure" \
        -v ns="$((run1 - run0))" \
        'BEGIN { printf "%6.2f %%   %7.3f %%\n", 100 * t / hz / s, 100 * ns / 1e9 / s }'
    exit 0
fi

cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/src/app/tolvane}")
settle=${2:-5}
measure=${3:-10}
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is missing: apt-get install xvfb xdotool" >&2
        exit 1
    fi
done

echo "Process CPU over ${measure} s after ${settle} s of settling, under Xvfb:"
echo "case                 utime+stime  schedstat"
for scale in 1 2; do
    for state in inactive active; do
        printf '%-8s at scale %s  ' "$state" "$scale"
        QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 1280x1024x24" \
            bash "$0" --inside "$state" "$program" "$settle" "$measure" 2>/dev/null
    done
done
