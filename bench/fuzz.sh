#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs them one after another, each
# from its corpus in tests/fuzz/corpus/<name>/, until it reaches the execution cap or its time.
#   bench/fuzz.sh [seconds-per-target [max-executions [target...]]]
#   bench/fuzz.sh 600 10000000 status framesplit
# Each target runs in a private mount namespace: everything is read-only but its work folder
# build/fuzz/run/<name>/ (its grown corpus and any finding stay there), and /dev holds only
# null, zero and urandom. Where no such namespace can be made the target is not run, and the
# script says so and ends with status 2 after the others.
# Printed per target: every sanitizer report line, crash and leak line, then executions,
# exec/s, coverage (cov, ft), corpus size and the findings (crash-*, leak-*, timeout-*, oom-*).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
max_runs=${2:-10000000}
shift $(($# > 2 ? 2 : $#))

# Every target has a corpus folder of the same name; only the targets are built.
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for dir in tests/fuzz/corpus/*/; do
        dir=${dir%/}
        targets+=("${dir##*/}")
    done
fi
CCACHE_BASEDIR=$PWD cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

# Extra libFuzzer options per target: those that take large inputs run without length
# control so that inputs near their limits (a 29 KB settings text, 20 long parameters, a
# program file past the loader's 60000-byte window) are tried from the start.
options_for() {
    case $1 in
    settings) echo "-max_len=40000 -len_control=0" ;;
    cmdline) echo "-max_len=16384 -len_control=0" ;;
    cmdline_mem) echo "-max_len=4400 -len_control=0" ;; # 20 entries of 200 and some more
    programpipe | programfile) echo "-max_len=100000" ;;
    *) echo "-max_len=4096" ;;
    esac
}

# Runs "$@" in the namespace with `work` as the only writable folder. The set-up checks
# itself and fails loudly (status 3) at any step it cannot make.
confined() {
    local work=$1
    shift
    local unshare=(unshare -m --propagation private)
    [ "$(id -u)" = 0 ] || unshare=(unshare -rm --propagation private)
    "${unshare[@]}" bash -s "$work" "$@" <<'EOF'
set -euo pipefail
work=$1; shift
fail() { echo "fuzz.sh: cannot confine the run: $*" >&2; exit 3; }
mounts=$(tac /proc/self/mounts) # read while /dev/fd still exists
mount --bind "$work" "$work" || fail "bind of $work"
dev=$work/.dev
mkdir -p "$dev"
mount -t tmpfs -o size=64k,mode=755 tmpfs "$dev" || fail "tmpfs for /dev"
for node in null zero urandom; do
    touch "$dev/$node"
    mount --bind "/dev/$node" "$dev/$node" || fail "bind of /dev/$node"
done
mount --rbind "$dev" /dev || fail "new /dev"
umount -l "$dev"
# Every other mount read-only (the work folder keeps its own writable mount).
while read -r _ point _; do
    case $point in
    "$work" | /dev | /dev/*) continue ;;
    esac
    [ -e "$point" ] || fail "mount point $point cannot be seen"
    mount -o remount,bind,ro "$point" 2>/dev/null || fail "read-only remount of $point"
done <<<"$mounts"
# Check what was made before anything runs in it.
touch /fuzz-sh-write-test 2>/dev/null && fail "/ is still writable"
touch "$work/.write-test" || fail "$work is not writable"
rm -f "$work/.write-test"
[ "$(ls /dev | tr '\n' ' ')" = "null urandom zero " ] || fail "/dev holds $(ls /dev | tr '\n' ' ')"
cd "$work"
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
exec "$@"
EOF
}

# Whether a confined run can be made at all, before any target runs.
probe=$PWD/build/fuzz/run/.probe
mkdir -p "$probe"
if ! probe_out=$(confined "$probe" ls /dev 2>&1); then
    echo "$probe_out" >&2
    echo "fuzz.sh: no private mount namespace can be made here; no target was run." >&2
    exit 2
fi

status=0
summary=()
for name in "${targets[@]}"; do
    fuzzer=$PWD/build/fuzz/tests/fuzz/fuzz_$name
    work=$PWD/build/fuzz/run/$name
    mkdir -p "$work/corpus"
    cp -n tests/fuzz/corpus/"$name"/* "$work/corpus/" 2>/dev/null || true
    log=$work/fuzz.log
    echo "== $name: up to ${seconds}s or $max_runs executions =="
    # shellcheck disable=SC2046
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        confined "$work" "$fuzzer" -max_total_time="$seconds" -runs="$max_runs" \
        -print_final_stats=1 -artifact_prefix="$work/" -timeout=10 -rss_limit_mb=2048 \
        $(options_for "$name") "$work/corpus" >"$log" 2>&1; then
        if grep -q "cannot confine" "$log"; then
            grep "cannot confine" "$log"
            echo "   $name was NOT run: no private mount namespace here"
            summary+=("$(printf '%-12s not run (no namespace)' "$name")")
            status=2
            continue
        fi
    fi
    # Every report line, not just the last ones.
    grep -E "runtime error|ERROR:|SUMMARY:|LeakSanitizer|leak|crash|deadly signal|Test unit written|libFuzzer: " \
        "$log" | grep -v "^INFO:" || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
    last=$(grep -E "^#[0-9]+" "$log" | tail -n1)
    cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    files=$(find "$work/corpus" -type f | wc -l)
    bytes=$(du -sb "$work/corpus" | cut -f1)
    findings=$(find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    [ "$findings" = 0 ] || status=1
    line=$(printf '%-12s executions %-9s exec/s %-6s cov %-5s ft %-6s corpus %s files (%s bytes) findings %s' \
        "$name" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$files" "$bytes" "$findings")
    echo "   $line"
    [ "$findings" = 0 ] || find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' \) -printf '   finding: %p\n'
    summary+=("$line")
done
echo "== summary =="
printf '%s\n' "${summary[@]}"
exit "$status"
