#!/bin/sh
# Time from starting the window's program to its first painted window, in ms, over several
# runs (median last). Needs a display: run it under xvfb-run.
#   xvfb-run -a scripts/startup-time.sh build/bench/tarvel_startup 9
set -e
program=${1:-build/bench/tarvel_startup}
runs=${2:-9}
times=""
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    painted=$("$program")
    times="$times $(( (painted - start) / 1000000 ))"
    i=$((i + 1))
done
echo "runs (ms):$times"
echo "median (ms): $(echo $times | tr ' ' '\n' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
