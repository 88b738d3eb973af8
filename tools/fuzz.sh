#!/bin/sh
# make fuzz: builds the libFuzzer targets (clang, AddressSanitizer, UBSan) and runs each (or those
# FUZZ_TARGETS names) for FUZZ_SECONDS (default 60) from its committed corpus. The first failure
# stops the run and shows its input in hex and the file libFuzzer saved it in. Afterwards each
# corpus is minimised again (-merge=1) with what the run found that adds coverage: commit the
# changes under tests/fuzz/corpus.
set -u
seconds=${FUZZ_SECONDS:-60}
work=build/fuzz/runs
mkdir -p "$work"
targets=${FUZZ_TARGETS:-$(sed -n 's/^vg_add_fuzz(\([a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)}
for target in $targets; do set -- "$@" "vg-fuzz-$target"; done
if ! { cmake --preset fuzz && cmake --build --preset fuzz --target "$@"; } >"$work/build.log" 2>&1; then
    cat "$work/build.log"
    exit 1
fi
for target in $targets; do
    program=build/fuzz/tests/fuzz/vg-fuzz-$target
    corpus=tests/fuzz/corpus/$target
    rm -rf "$work/$target" && mkdir -p "$work/$target/found" "$work/$target/merged" "$corpus"
    echo "== $target: $seconds s"
    if ! "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/$target/" \
            "$work/$target/found" "$corpus" >"$work/$target/log" 2>&1; then
        tail -n 40 "$work/$target/log"
        for saved in "$work/$target"/crash-* "$work/$target"/leak-* "$work/$target"/timeout-* \
                     "$work/$target"/oom-*; do
            [ -f "$saved" ] || continue
            echo "input that failed ($saved):"
            od -An -tx1 -v "$saved"
        done
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units' "$work/$target/log"
    "$program" -merge=1 "$work/$target/merged" "$corpus" "$work/$target/found" >>"$work/$target/log" 2>&1 || exit 1
    rm -f "$corpus"/* && cp "$work/$target/merged"/* "$corpus"/
    echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
