# Timing helpers shared by the benchmark scripts; source it after setting
# RUNS (timed runs per command) and WORK (a scratch folder).

# Microseconds since the epoch, without starting a process.
now_us() { local t=${EPOCHREALTIME//[!0-9]/}; echo $((10#$t)); }

# measure VAR EXPECTED-STATUS COMMAND...: one warm-up, then RUNS timed runs;
# stores the median wall time in microseconds in VAR and the median processor
# time (user plus system) in VAR_cpu, and warns when the command's exit status
# is not the expected one. On a shared machine the wall time is mostly the
# wait for a processor; the processor time is what the command itself costs.
measure() {
    local var=$1 expect=$2 i t0 t1 rc cpu TIMEFORMAT='%3U %3S'
    shift 2
    local -a times=() cpus=()
    for ((i = 0; i <= RUNS; i++)); do
        rc=0
        t0=$(now_us)
        cpu=$({ time "$@" >/dev/null 2>"$WORK/stderr" || rc=$?; } 2>&1; exit $rc) || rc=$?
        t1=$(now_us)
        if ((i > 0)); then
            times+=($((t1 - t0)))
            cpus+=($(awk -v u="${cpu% *}" -v s="${cpu#* }" 'BEGIN { printf "%d", (u + s) * 1000000 }'))
        fi
    done
    if ((rc != expect)); then
        echo "warning: '$*' exited with $rc (expected $expect)" >&2
        sed 's/^/    /' "$WORK/stderr" | head -5 >&2
    fi
    printf -v "$var" '%s' "$(median "${times[@]}")"
    printf -v "${var}_cpu" '%s' "$(median "${cpus[@]}")"
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'; }

ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }

# verdict NAME NUM DEN LIMIT
verdict() {
    awk -v n="$2" -v d="$3" -v lim="$4" -v name="$1" 'BEGIN {
        r = n / d
        printf "  %-10s %5.2fx   (target: within %.1fx)  %s\n", name, r, lim,
               (r <= lim ? "target met" : "target missed")
    }'
}
