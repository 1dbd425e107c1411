#!/usr/bin/env bash
# The sanitizer job: builds the `sanitizers` preset (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), runs every test under them, fuzzes the repair for a bounded time
# from a copy of the seeds, and repairs every file of the shared qpdf corpus (../shared/corpus/qpdf
# beside the checkout, when present) with the sanitizer-built replay tool. Any crash, hang or
# sanitizer report fails the job. How many repaired corpus copies pass `qpdf --check` is printed
# for information only.
#
# FUZZ_SECONDS (default 120) sets the fuzzing time; 0 skips fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh

cmake --preset sanitizers >/dev/null
cmake --build build/sanitizers
replay=$root/build/sanitizers/fuzz/repair_replay
fuzzer=$root/build/sanitizers/fuzz/repair_fuzzer

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-sanitizers-XXXXXX")
trap 'rm -rf "$work"' EXIT
# The fuzzer writes every input and its repaired copy to disk; a memory-backed folder keeps the
# file system from setting its pace.
scratch=$work
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/tarnwick-sanitizers-XXXXXX)
  trap 'rm -rf "$work" "$scratch"' EXIT
fi

# A distinct exit status tells a sanitizer report from a file that was not repaired (status 1).
# LeakSanitizer cannot run where the process is traced or ptrace is refused; it is left out there.
readonly report_status=86
leaks=1
if ASAN_OPTIONS=detect_leaks=1 "$replay" fuzz/seeds/minimal.pdf 2>&1 | grep -q 'LeakSanitizer has encountered a fatal error'; then
  echo "LeakSanitizer does not work here; leak detection is off"
  leaks=0
fi
export ASAN_OPTIONS="detect_leaks=$leaks:exitcode=$report_status"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=$report_status"

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --preset sanitizers -j "$(nproc)"

fuzz_seconds=${FUZZ_SECONDS:-120}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== fuzzing for ${fuzz_seconds} s"
  mkdir -p "$work/corpus" "$work/findings"
  cp fuzz/seeds/* "$work/corpus/"
  if ! TMPDIR=$scratch "$fuzzer" "$work/corpus" -dict=fuzz/pdf.dict \
      -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
      -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/fuzz.log" 2>&1; then
    tail -n 60 "$work/fuzz.log"
    mkdir -p build/sanitizers/fuzz-findings
    cp "$work/findings/"* build/sanitizers/fuzz-findings/ 2>/dev/null || true
    echo "FAILED: the fuzzer found a crash, hang or sanitizer report; the input is kept in" \
      "build/sanitizers/fuzz-findings/ (add it to fuzz/regressions/ with the fix)"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$work/fuzz.log" || true
fi

corpus=$root/../shared/corpus/qpdf
if [ ! -d "$corpus" ]; then
  echo "== no corpus at ../shared/corpus/qpdf: corpus step skipped"
  exit 0
fi
echo "== repairing the qpdf corpus under the sanitizers"
out=$work/repaired
mkdir -p "$out"
total=0
repaired=0
failures=()
for file in "$corpus"/*.pdf; do
  total=$((total + 1))
  status=0
  timeout 60 "$replay" -o "$out" "$file" >/dev/null 2>"$work/replay.err" || status=$?
  if [ "$status" -eq 0 ]; then
    repaired=$((repaired + 1))
  elif [ "$status" -eq 1 ] && ! grep -qE 'Sanitizer|runtime error' "$work/replay.err"; then
    echo "not repaired (no crash): $file"
  else
    case $status in
      124) echo "HANG (over 60 s): $file" ;;
      *) echo "CRASH or sanitizer report (status $status): $file"; tail -n 30 "$work/replay.err" ;;
    esac
    failures+=("$file")
  fi
done
echo "repaired $repaired of $total corpus files"

checked=0
passing=0
for copy in "$out"/*.pdf; do
  [ -e "$copy" ] || continue
  checked=$((checked + 1))
  if timeout 60 qpdf --check "$copy" >/dev/null 2>&1; then passing=$((passing + 1)); fi
done
echo "qpdf --check passes $passing of $checked repaired copies (information, not a test)"

if ((${#failures[@]})); then
  echo "FAILED: ${#failures[@]} corpus files crashed, hung or drew a sanitizer report"
  exit 1
fi
echo "sanitizer job passed"
