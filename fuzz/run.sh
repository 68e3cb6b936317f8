#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default: $FUZZ_SECONDS, else 60).
#   fuzz/run.sh [SECONDS] [TARGET...]      (targets: fuzz_evaluation fuzz_config fuzz_options fuzz_repair; default all)
# The working corpus of each target grows in build/fuzz-corpus/<target> from run to run; the seeds
# are gathered afresh every run from tests/data and, when present, the real logs beside the
# checkout. An input that crashes a target, or breaks one of the properties it checks, is saved
# in build/fuzz-crashes/<target>/ and makes the script fail once every target has run.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${FUZZ_SECONDS:-60}"
case "${1:-}" in
    '' | *[!0-9]*) ;;
    *) seconds="$1"; shift ;;
esac
case "$seconds" in
    '' | *[!0-9]*) echo "run.sh: FUZZ_SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_evaluation fuzz_config fuzz_options fuzz_repair)
fi

build="$root/build/fuzz"
corpus_root="$root/build/fuzz-corpus"
seeds_root="$root/build/fuzz-seeds"
crashes_root="$root/build/fuzz-crashes"
logs_root="$root/build/fuzz-logs"
real_logs="${ZEB_CORPUS_DIR:-$root/../shared/corpus/cabrillo}"

generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root/fuzz" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}"
fi
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}"

# Inputs that take long (a log of a thousand QSOs takes a hundred times as long as a short one:
# the scoring compares every QSO with every earlier one) are chosen less often
# (-entropic_scale_per_exec_time), which keeps several hundred executions per second without
# dropping the long logs.

# Seeds for the evaluation: every log, and also its first 40 lines closed by an end marker. The
# short copies carry the same variety of real formats at a fraction of the cost per execution
# (the scoring compares every QSO with every earlier one), and libFuzzer keeps the smaller input
# when two cover the same code.
gather_logs() {
    local into="$1" found
    rm -rf "$into" && mkdir -p "$into"
    while IFS= read -r -d '' found; do
        local name
        name="$(basename "$(dirname "$found")")-$(basename "$found")"
        cp "$found" "$into/$name"
        { head -n 40 "$found"; printf 'END-OF-LOG:\n'; } >"$into/head40-$name"
    done < <(
        find "$root/tests/data" -type f -name '*.cbr' -print0
        if [ -d "$real_logs" ]; then find "$real_logs" -type f -name '*.cbr' -print0; fi
    )
}

gather_configs() {
    local into="$1" found
    rm -rf "$into" && mkdir -p "$into"
    while IFS= read -r -d '' found; do
        cp "$found" "$into/$(basename "$(dirname "$found")")-$(basename "$found")"
    done < <(find "$root/tests/data" -type f -name '*.ini' -print0)
    printf '55\n14\n73\n14\n' >"$into/window-defaults.ini"
}

# Seeds for the option parser: argument lists of the usual calls, NUL between the arguments.
gather_arguments() {
    local into="$1"
    rm -rf "$into" && mkdir -p "$into"
    printf 'log.cbr' >"$into/one-log"
    printf -- '--json\0a.cbr\0b.cbr' >"$into/json"
    printf -- '-o\0-\0--only-80m\0a.cbr' >"$into/stdout"
    printf -- '--config=x.ini\0--call-start\0055\0--exch-start\0-3\0a.cbr' >"$into/columns"
    printf -- '--results\0r.html\0--bands\0--cross-check\0c.csv\0--time-window\0015\0a.cbr' \
        >"$into/contest"
    printf -- '--output-dir\0out\0--force\0--unknown-prefix=abort\0--\0-a.cbr' >"$into/dir"
}

status=0
summary=()
for target in "${targets[@]}"; do
    case "$target" in
        fuzz_evaluation) max_len=8000; dict="$root/fuzz/cabrillo.dict"; gather_logs "$seeds_root/$target" ;;
        fuzz_config) max_len=4096; dict="$root/fuzz/config.dict"; gather_configs "$seeds_root/$target" ;;
        fuzz_options) max_len=4096; dict="$root/fuzz/options.dict"; gather_arguments "$seeds_root/$target" ;;
        fuzz_repair) max_len=8000; dict="$root/fuzz/cabrillo.dict"; gather_logs "$seeds_root/$target" ;;
        *) echo "run.sh: unknown target $target" >&2; exit 2 ;;
    esac
    mkdir -p "$corpus_root/$target" "$crashes_root/$target" "$logs_root"
    log="$logs_root/$target.log"
    echo "== $target: ${seconds} s (log: $log)"
    set +e
    "$build/$target" \
        -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=4096 \
        -dict="$dict" -entropic_scale_per_exec_time=1 -print_final_stats=1 \
        -artifact_prefix="$crashes_root/$target/" \
        "$corpus_root/$target" "$seeds_root/$target" >"$log" 2>&1
    result=$?
    set -e
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)"
    if [ "$result" -eq 0 ]; then
        summary+=("$target: ${runs:-?} executions, ${rate:-?}/s, no crash")
    else
        status=1
        artifact="$(sed -n "s/.*Test unit written to //p" "$log" | tail -n 1)"
        summary+=("$target: FAILED (exit $result) after ${runs:-?} executions; input: ${artifact:-see log}")
        grep -E 'ERROR|property broken|SUMMARY|#[0-9]+ 0x' "$log" | head -n 30 >&2 || true
        echo "reproduce: $build/$target ${artifact:-<input>}" >&2
    fi
done

echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
exit "$status"
