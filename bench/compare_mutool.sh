#!/usr/bin/env bash
# Times `mutool clean`, `tarnwick-repair` and a plain `cp` on the same damaged copy of the large
# benchmark file in one run, then reports the pages each output keeps and whether qpdf accepts
# it. The copy is the floor: a repair reads the whole file and writes about as much again.
#
# usage: bench/compare_mutool.sh [--percent P] [--runs N] [--build DIR]
#   --percent P  size of the generated file in percent of the standard one (default 100)
#   --runs N     timed runs of each program (default 5, after one warm-up run)
#   --build DIR  build tree holding make_large_pdf and tarnwick-repair (default build/release)
# Inputs are generated once into ${TARNWICK_BENCH_DIR:-DIR/bench-data}, the same cache that
# repair_bench uses; the outputs go to a scratch folder there and are removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

percent=100
runs=5
build=build/release
while (($#)); do
  case "$1" in
    --percent) percent="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    *) sed -n '4,10p' "$0" >&2; exit 2 ;;
  esac
done

seed=20240601  # the seed repair_bench uses, so both share the cached files
generator="$build/bench/make_large_pdf"
repair="$build/cli/tarnwick-repair"
for tool in "$generator" "$repair"; do
  [ -x "$tool" ] || { echo "missing $tool: build with 'cmake --preset release && cmake --build $build'" >&2; exit 1; }
done
for tool in mutool qpdf pdfinfo; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/deps.sh" >&2; exit 1; }
done

data="${TARNWICK_BENCH_DIR:-$build/bench-data}"
mkdir -p "$data"
stem="$data/large-${percent}pct-seed$seed"
intact="$stem.pdf"
damaged="$stem-damaged.pdf"
if [ ! -f "$intact" ] || [ ! -f "$damaged" ]; then
  scale=$(awk -v p="$percent" 'BEGIN { printf "%g", p / 100 }')
  "$generator" --scale "$scale" --seed "$seed" "$intact.partial" "$damaged.partial" >&2
  mv "$damaged.partial" "$damaged"
  mv "$intact.partial" "$intact"
fi

scratch=$(mktemp -d "$data/compare-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/tarnwick"
mutool_out="$scratch/mutool.pdf"
tarnwick_out="$scratch/tarnwick/$(basename "$damaged")"
mutool_cmd="mutool clean '$damaged' '$mutool_out'"
tarnwick_cmd="'$repair' --overwrite -o '$scratch/tarnwick' '$damaged'"
cp_out="$scratch/cp.pdf"
cp_cmd="cp '$damaged' '$cp_out'"
# Each run starts with the earlier outputs gone and written back, so that no program pays for
# another's write-back.
clear_outputs="rm -f '$mutool_out' '$tarnwick_out' '$cp_out'; sync"

echo "input: $damaged ($(stat -c %s "$damaged") bytes), load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs "$runs" --prepare "$clear_outputs" --export-csv "$scratch/times.csv" \
    -n "mutool clean" "$mutool_cmd" -n "tarnwick-repair" "$tarnwick_cmd" -n "cp" "$cp_cmd" >&2
else
  # Without hyperfine: bash's own timer, the same warm-up and runs, outputs cleared before each.
  echo "command,mean,stddev,median,user,system,min,max" >"$scratch/times.csv"
  for name in "mutool clean" "tarnwick-repair" "cp"; do
    case $name in
      "mutool clean") cmd=$mutool_cmd ;;
      "tarnwick-repair") cmd=$tarnwick_cmd ;;
      *) cmd=$cp_cmd ;;
    esac
    samples=()
    for ((run = 0; run <= runs; run++)); do
      eval "$clear_outputs"
      TIMEFORMAT='%R %U %S'
      sample=$( { time eval "$cmd" >/dev/null 2>&1; } 2>&1 )
      ((run > 0)) && samples+=("$sample")
    done
    printf '%s\n' "${samples[@]}" | sort -n | awk -v name="$name" '
      { real[NR] = $1; user += $2; sys += $3; sum += $1; sq += $1 * $1 }
      END { n = NR; mean = sum / n; var = sq / n - mean * mean; sd = sqrt(var > 0 ? var : 0)
            median = (n % 2) ? real[(n + 1) / 2] : (real[n / 2] + real[n / 2 + 1]) / 2
            printf "%s,%f,%f,%f,%f,%f,%f,%f\n", name, mean, sd, median, user / n, sys / n, real[1], real[n] }' \
      >>"$scratch/times.csv"
  done
fi

# The timed runs clear each other's outputs; one more run of each leaves both for the checks.
eval "$clear_outputs"
eval "$mutool_cmd" >/dev/null 2>&1
eval "$tarnwick_cmd" >/dev/null 2>&1

pages_of() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
verdict_of() {
  local status=0
  qpdf --check "$1" >/dev/null 2>&1 || status=$?
  case $status in
    0) echo "passes" ;;
    3) echo "passes with warnings" ;;
    *) echo "fails (exit $status)" ;;
  esac
}

echo
echo "pages in the intact original: $(pages_of "$intact")"
printf '%-16s %9s %9s %9s %9s %7s  %s\n' program "mean s" "min s" "user s" "sys s" pages "qpdf --check"
while IFS=, read -r name mean _stddev _median user system min _max; do
  [ "$name" = command ] && continue
  [ "$name" = cp ] && { printf '%-16s %9.3f %9.3f %9.3f %9.3f\n' "$name" "$mean" "$min" "$user" "$system"; continue; }
  out=$([ "$name" = "mutool clean" ] && echo "$mutool_out" || echo "$tarnwick_out")
  printf '%-16s %9.3f %9.3f %9.3f %9.3f %7s  %s\n' "$name" "$mean" "$min" "$user" "$system" \
    "$(pages_of "$out")" "$(verdict_of "$out")"
done <"$scratch/times.csv"
awk -F, 'NR > 1 { mean[$1] = $2; cpu[$1] = $5 + $6 }
  END { printf "tarnwick-repair / mutool clean: %.2f of the wall time, %.2f of the CPU time (goal: at most 0.20)\n",
               mean["tarnwick-repair"] / mean["mutool clean"], cpu["tarnwick-repair"] / cpu["mutool clean"]
        printf "tarnwick-repair / cp: %.2f times the wall time (goal: at most 3)\n",
               mean["tarnwick-repair"] / mean["cp"] }' \
  "$scratch/times.csv"
