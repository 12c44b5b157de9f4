#!/bin/sh
# `skintool render` over a folder of 100 models: every processor at once
# (-j N) against one at a time (-j 1). The models are the demo creature and
# 99 copies; each run draws all 100 at the default 640x480.
#
#   bench/bench_cli_batch.sh [SKINTOOL [RUNS]]
#
# SKINTOOL defaults to build-check/src/skintool, RUNS (timed runs of each,
# after one warm-up) to 5. With hyperfine on the PATH it does the timing;
# otherwise each run is timed here and the median printed.
set -eu

skintool=$(realpath "${1:-build-check/src/skintool}")
runs=${2:-5}
cores=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

"$skintool" demo "$work/baseq2" >/dev/null
models="$work/baseq2/models/batch"
mkdir -p "$models"
i=0
while [ $i -lt 100 ]; do
    cp "$work/baseq2/models/demo/tris.md2" "$models/m$(printf %03d $i).md2"
    i=$((i + 1))
done

# One batch: the report goes to a file, so the terminal's speed is not timed.
render() {
    "$skintool" render "$models" --recursive --out-dir "$work/out-j$1" -j "$1" >"$work/report-j$1" 2>&1
}

if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --warmup 1 --runs "$runs" \
        "'$skintool' render '$models' --recursive --out-dir '$work/out' -j 1" \
        "'$skintool' render '$models' --recursive --out-dir '$work/out' -j $cores"
    exit 0
fi

# Seconds of `render -j $1`, one line per run, sorted.
time_runs() {
    render "$1"
    n=0
    while [ $n -lt "$runs" ]; do
        start=$(date +%s.%N)
        render "$1"
        end=$(date +%s.%N)
        echo "$end - $start" | bc
        n=$((n + 1))
    done | sort -n
}
median() { sed -n "$(((runs + 1) / 2))p"; }

serial=$(time_runs 1 | median)
parallel=$(time_runs "$cores" | median)
tail -n 1 "$work/report-j$cores"
printf 'render of 100 models, median of %s runs: -j 1 %.3f s, -j %s %.3f s, %.2fx faster (%s cores)\n' \
    "$runs" "$serial" "$cores" "$parallel" "$(echo "$serial / $parallel" | bc -l)" "$cores"
