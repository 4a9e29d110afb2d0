#!/usr/bin/env bash
# Fault injection: puts each fault of tools/mutants.txt into the product in turn, rebuilds
# what it touches, runs the tests that should catch it and puts the file back. The table at
# the end says, per fault, whether some test failed (KILLED), none did (SURVIVED), the build
# broke (BUILD: a compile error is no catch), the search text no longer occurs exactly once
# (STALE: refresh the record), or ctest found no test to run (NOTESTS).
#
#   tools/mutants.sh [options] [ID...]
#     ID...          only these faults (default: all)
#     --native-only  only the faults checked natively (no Wine stand)
#     --wine-only    only the faults checked under Wine
#     --wide         ignore each fault's test selection: run the whole suite of its build
#                    (natively every test; under Wine every test, end-to-end ones included)
#     --check        only verify that every search text occurs exactly once (no builds)
#     --list         print the faults and exit
#     --keep-build   leave the build folders as the last fault left them (default: rebuild
#                    the untouched product at the end, so no mutant binary stays behind)
#     --ctest        natively too, let ctest run every case in a process of its own (by
#                    default the native selection runs as one gtest process per program)
#
# Environment: ORV_MUTANTS (list file, default tools/mutants.txt), ORV_MUTANTS_LOG (build
# and test logs per fault, and the last table as results.txt; default build/mutants),
# ORV_MUTANTS_JOBS (ctest -j, default 2), ORV_MUTANTS_TIMEOUT (seconds per test without a
# TIMEOUT of its own, default 300).
#
# The tests must pass without faults first (a test that fails anyway makes every fault
# look caught). ERROR: ctest failed without naming a test (see the fault's test log).
#
# Uses the existing build folders (build/native, build/mingw) incrementally; configures a
# preset first when its folder has no build.ninja. Not part of scripts/test.sh or CTest.
# Exit code 0 when every fault run was KILLED.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"

LIST="${ORV_MUTANTS:-tools/mutants.txt}"
LOGDIR="${ORV_MUTANTS_LOG:-build/mutants}"
JOBS="${ORV_MUTANTS_JOBS:-2}"
TIMEOUT="${ORV_MUTANTS_TIMEOUT:-300}"

usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; }

ONLY_NATIVE=0 ONLY_WINE=0 WIDE=0 CHECK=0 LIST_ONLY=0 KEEP_BUILD=0 USE_CTEST=0
declare -a WANT=()
for a in "$@"; do
  case "$a" in
    --native-only) ONLY_NATIVE=1 ;;
    --wine-only) ONLY_WINE=1 ;;
    --wide) WIDE=1 ;;
    --check) CHECK=1 ;;
    --list) LIST_ONLY=1 ;;
    --keep-build) KEEP_BUILD=1 ;;
    --ctest) USE_CTEST=1 ;;
    -h|--help) usage; exit 0 ;;
    -*) echo "mutants: unknown option $a" >&2; exit 2 ;;
    *) WANT+=("$a") ;;
  esac
done

# ---------------------------------------------------------------------------------------
# The list: M_ID, M_FILE, M_WHERE, M_WHAT by index; FIND/REPL by "index.pair".

declare -a M_ID=() M_FILE=() M_WHERE=() M_WHAT=() M_PAIRS=()
declare -A FIND=() REPL=()

trim() {  # trim TEXT: TRIMMED is TEXT without leading and trailing blanks
  TRIMMED="${1#"${1%%[![:space:]]*}"}"
  TRIMMED="${TRIMMED%"${TRIMMED##*[![:space:]]}"}"
}

parse_list() {
  [ -f "$LIST" ] || { echo "mutants: no list $LIST" >&2; exit 2; }
  local line key val n=-1 lineno=0 p
  while IFS= read -r line || [ -n "$line" ]; do
    lineno=$((lineno + 1))
    case "$line" in ''|'#'*) continue ;; esac
    [[ "$line" == *:* ]] || { echo "mutants: $LIST:$lineno: no key" >&2; exit 2; }
    trim "${line%%:*}"; key="$TRIMMED"
    trim "${line#*:}"; val="$TRIMMED"
    if [ "$key" = id ]; then
      n=$((n + 1))
      M_ID[n]="$val"; M_FILE[n]=""; M_WHERE[n]=""; M_WHAT[n]=""; M_PAIRS[n]=0
      continue
    fi
    [ "$n" -ge 0 ] || { echo "mutants: $LIST:$lineno: $key before the first id" >&2; exit 2; }
    p="${M_PAIRS[n]}"
    case "$key" in
      file) M_FILE[n]="$val" ;;
      where) M_WHERE[n]="$val" ;;
      what) M_WHAT[n]="$val" ;;
      find) FIND["$n.$p"]="$val" ;;
      repl)
        [ -n "${FIND[$n.$p]+x}" ] || { echo "mutants: $LIST:$lineno: repl without find" >&2; exit 2; }
        REPL["$n.$p"]="$val"; M_PAIRS[n]=$((p + 1)) ;;
      *) echo "mutants: $LIST:$lineno: unknown key $key" >&2; exit 2 ;;
    esac
  done <"$LIST"
  local i
  for i in "${!M_ID[@]}"; do
    if [ -z "${M_FILE[i]}" ] || [ "${M_PAIRS[i]}" -eq 0 ] || [ -n "${FIND[$i.${M_PAIRS[i]}]+x}" ]; then
      echo "mutants: record ${M_ID[i]}: needs file and find/repl pairs" >&2; exit 2
    fi
    case "${M_WHERE[i]}" in
      native|native\ *|wine|wine\ *) ;;
      *) echo "mutants: record ${M_ID[i]}: where must start with native or wine" >&2; exit 2 ;;
    esac
  done
}

# ---------------------------------------------------------------------------------------
# Applying a fault. Literal text, no patterns: perl's index(), arguments passed as they are.

# apply_pairs FILE MODE FIND1 REPL1 [FIND2 REPL2 ...]; MODE check|apply. Exit 3 when a
# search text does not occur exactly once (message on stdout).
apply_pairs() {
  perl -e '
    use strict; use warnings;
    my ($file, $mode, @p) = @ARGV;
    open(my $in, "<:raw", $file) or do { print "cannot read $file\n"; exit 3 };
    local $/; my $text = <$in>; close $in;
    for (my $k = 0; $k < @p; $k += 2) {
      my ($f, $n, $at) = ($p[$k], 0, 0);
      while ((my $i = index($text, $f, $at)) >= 0) { $n++; $at = $i + 1; }
      if ($n != 1) { print "\"$f\" occurs $n times\n"; exit 3 }
    }
    exit 0 if $mode eq "check";
    for (my $k = 0; $k < @p; $k += 2) {
      my $i = index($text, $p[$k]);
      if ($i < 0) { print "\"$p[$k]\" gone after an earlier replacement\n"; exit 3 }
      substr($text, $i, length $p[$k]) = $p[$k + 1];
    }
    open(my $out, ">:raw", $file) or do { print "cannot write $file\n"; exit 3 };
    print $out $text; close $out or exit 3;
  ' "$@"
}

pair_args() {  # the find/repl arguments of record $1
  local i=$1 p
  ARGS=()
  for ((p = 0; p < M_PAIRS[i]; p++)); do ARGS+=("${FIND[$i.$p]}" "${REPL[$i.$p]}"); done
}

# The file being mutated and its saved copy; put back on every way out.
MUTATED="" BACKUP=""
restore() {
  if [ -n "$MUTATED" ] && [ -f "$BACKUP" ]; then
    cp -- "$BACKUP" "$MUTATED" && cmp -s -- "$BACKUP" "$MUTATED" || {
      echo "mutants: could not restore $MUTATED (saved copy: $BACKUP)" >&2; return 1; }
    # A fresh time stamp makes the next build recompile it (cp keeps none of the old one).
    touch -- "$MUTATED"
    rm -f -- "$BACKUP"
  fi
  MUTATED="" BACKUP=""
}

STAND=0
on_exit() {
  restore
  if [ "$STAND" = 1 ]; then stand_down; STAND=0; fi
}
trap on_exit EXIT
trap 'echo "mutants: interrupted" >&2; exit 130' INT TERM

# ---------------------------------------------------------------------------------------
# Building and testing.

preset_dir() { [ "$1" = native ] && echo build/native || echo build/mingw; }
preset_name() { [ "$1" = native ] && echo native || echo mingw; }

ensure_configured() {
  local kind=$1 dir
  dir="$(preset_dir "$kind")"
  [ -f "$dir/build.ninja" ] && return 0
  cmake --preset "$(preset_name "$kind")" >"$LOGDIR/configure-$kind.log" 2>&1 || {
    echo "mutants: cmake --preset $(preset_name "$kind") failed (see $LOGDIR/configure-$kind.log)" >&2; exit 2; }
}

# The test programs behind the ctest labels of a selection; empty: build everything.
targets_for() {
  local kind=$1; shift
  local -a sel=("$@") out=()
  local k label
  for ((k = 0; k < ${#sel[@]}; k++)); do
    [ "${sel[k]}" = -L ] || continue
    label="${sel[k + 1]:-}"
    case "$kind:$label" in
      native:core|wine:core) out+=(core_tests) ;;
      native:snapshot) out+=(snapshot_tests) ;;
      wine:snapshot) out+=(snapshot_tests snapshot_win_tests) ;;
      wine:win) out+=(win_tests snapshot_win_tests) ;;
      wine:e2e) out+=(e2e_tests) ;;
      wine:manual) out+=(manual) ;;
      *) echo ""; return ;;  # an unknown label: build all
    esac
  done
  echo "${out[*]}"
}

# build KIND LOG TARGET...  (no target: all)
build() {
  local kind=$1 log=$2; shift 2
  local -a t=()
  [ $# -gt 0 ] && t=(--target "$@")
  cmake --build "$(preset_dir "$kind")" "${t[@]}" >"$log" 2>&1
}

# The gtest programs behind a ctest selection, one line per program and working folder:
# "folder<TAB>program<TAB>name:name:...", or the one word "ctest" when some selected test
# is not a single gtest case.
gtest_plan() {
  ctest --test-dir "$1" --show-only=json-v1 "${@:2}" | perl -MJSON::PP -e '
    local $/; my $j = eval { decode_json(<STDIN>) } or do { print "ctest\n"; exit };
    my (%names, @order);
    for my $t (@{$j->{tests} || []}) {
      my @c = @{$t->{command} || []};
      my ($f) = grep { /^--gtest_filter=/ } @c;
      if (!@c || !$f) { print "ctest\n"; exit }
      my %p = map { $_->{name} => $_->{value} } @{$t->{properties} || []};
      my $key = join("\t", $p{WORKING_DIRECTORY} // ".", $c[0]);
      push @order, $key unless $names{$key};
      push @{$names{$key}}, substr($f, length "--gtest_filter=");
    }
    print "$_\t", join(":", @{$names{$_}}), "\n" for @order;'
}

# Natively each test program runs once for all its selected cases (ctest starts one
# process per case, which costs far more than the cases themselves); a crash names the
# case that was running. Sets FAILED_TESTS and TEST_STATE like run_tests.
run_direct() {
  local kind=$1 log=$2; shift 2
  local dir plan wd exe filter rc out any=0 err=0
  dir="$(preset_dir "$kind")"
  plan="$(gtest_plan "$dir" "$@" 2>"$log")"
  if [ "$plan" = ctest ]; then run_ctest "$kind" "$log" "$@"; return; fi
  FAILED_TESTS=""
  while IFS=$'\t' read -r wd exe filter; do
    [ -n "$exe" ] || continue
    any=1
    out="$(mktemp "${TMPDIR:-/tmp}/orv-mutant-run.XXXXXX")"
    (cd "$wd" && timeout "$TIMEOUT" "$exe" "--gtest_filter=$filter") >"$out" 2>&1
    rc=$?
    cat "$out" >>"$log"
    local names
    names="$(awk '/^\[  FAILED  \] [^ ]+( |$)/ && !/tests?, listed below/ { sub(/^\[  FAILED  \] /, ""); sub(/ .*/, ""); if (!seen[$0]++) print }' "$out" | paste -sd' ' -)"
    if [ "$rc" != 0 ] && [ -z "$names" ]; then
      # Died inside a case (sanitizer, crash, time-out): the case that was running.
      names="$(awk '/^\[ RUN      \] / { cur = $4 } /^\[       OK \] / { cur = "" } END { print cur }' "$out")"
      [ -n "$names" ] && names="$names(crash)" || { names="$(basename "$exe")(exit $rc)"; }
    fi
    [ -n "$names" ] && FAILED_TESTS="${FAILED_TESTS:+$FAILED_TESTS }$names"
    [ "$rc" != 0 ] && err=1
    rm -f -- "$out"
  done <<<"$plan"
  if [ "$any" = 0 ]; then TEST_STATE=notests
  elif [ -n "$FAILED_TESTS" ]; then TEST_STATE=failed
  elif [ "$err" = 0 ]; then TEST_STATE=passed
  else TEST_STATE=error
  fi
}

run_tests() {
  if [ "$1" = native ] && [ "$USE_CTEST" = 0 ]; then run_direct "$@"; else run_ctest "$@"; fi
}

# Sets FAILED_TESTS and TEST_STATE (passed|failed|notests|error) from a ctest run.
run_ctest() {
  local kind=$1 log=$2; shift 2
  local dir rc
  dir="$(preset_dir "$kind")"
  ctest --test-dir "$dir" -j "$JOBS" --timeout "$TIMEOUT" --output-on-failure "$@" >"$log" 2>&1
  rc=$?
  FAILED_TESTS="$(awk '/The following tests FAILED:/ {on = 1; next}
                       on && /^[[:space:]]*[0-9]+ - / {
                         sub(/^[[:space:]]*[0-9]+ - /, ""); sub(/ \([^()]*\)$/, ""); print }' "$log" | paste -sd' ' -)"
  if grep -q 'No tests were found' "$log"; then TEST_STATE=notests
  elif [ "$rc" = 0 ]; then TEST_STATE=passed
  elif [ -n "$FAILED_TESTS" ]; then TEST_STATE=failed
  else TEST_STATE=error
  fi
}

# ---------------------------------------------------------------------------------------

parse_list

declare -a RUN=()
for i in "${!M_ID[@]}"; do
  kind="${M_WHERE[i]%% *}"
  if [ ${#WANT[@]} -gt 0 ]; then
    hit=0
    for w in "${WANT[@]}"; do [ "$w" = "${M_ID[i]}" ] && hit=1; done
    [ "$hit" = 1 ] || continue
  fi
  [ "$ONLY_NATIVE" = 1 ] && [ "$kind" != native ] && continue
  [ "$ONLY_WINE" = 1 ] && [ "$kind" != wine ] && continue
  RUN+=("$i")
done
for w in "${WANT[@]}"; do
  found=0
  for i in "${!M_ID[@]}"; do [ "$w" = "${M_ID[i]}" ] && found=1; done
  [ "$found" = 1 ] || { echo "mutants: no fault $w in $LIST" >&2; exit 2; }
done

if [ "$LIST_ONLY" = 1 ]; then
  for i in "${RUN[@]}"; do printf '%-5s %-6s %-34s %s\n' "${M_ID[i]}" "${M_WHERE[i]%% *}" "${M_FILE[i]}" "${M_WHAT[i]}"; done
  exit 0
fi

declare -A RESULT=() DETAIL=() SECS=()
STALE=0
for i in "${RUN[@]}"; do
  pair_args "$i"
  if [ ! -f "${M_FILE[i]}" ]; then
    RESULT[$i]=STALE; DETAIL[$i]="no file ${M_FILE[i]}"; STALE=1
  elif ! msg="$(apply_pairs "${M_FILE[i]}" check "${ARGS[@]}")"; then
    RESULT[$i]=STALE; DETAIL[$i]="$msg"; STALE=1
  fi
done

print_table() {
  local i n_k=0 n_s=0 n_b=0 n_st=0 n_o=0
  printf '\n%-5s | %-80s | %-8s | %s\n' id fault result "failing tests (first few) / note"
  printf '%s\n' "------+----------------------------------------------------------------------------------+----------+------------------------------"
  for i in "${RUN[@]}"; do
    printf '%-5s | %-80s | %-8s | %s\n' "${M_ID[i]}" "${M_WHAT[i]}" "${RESULT[$i]:-?}" "${DETAIL[$i]:-}"
    case "${RESULT[$i]:-}" in
      KILLED) n_k=$((n_k + 1)) ;; SURVIVED) n_s=$((n_s + 1)) ;; BUILD) n_b=$((n_b + 1)) ;;
      STALE) n_st=$((n_st + 1)) ;; OK) ;; *) n_o=$((n_o + 1)) ;;
    esac
  done
  echo
  echo "mutants: ${#RUN[@]} faults: $n_k killed, $n_s survived, $n_b build breaks, $n_st stale, $n_o other (${SECONDS} s)"
  if [ "$n_s" -gt 0 ] && [ "$WIDE" = 0 ]; then
    echo "mutants: a survivor may be caught by tests outside its selection: try it again with --wide"
  fi
}

if [ "$CHECK" = 1 ]; then
  for i in "${RUN[@]}"; do [ -n "${RESULT[$i]:-}" ] || RESULT[$i]=OK; done
  print_table
  exit "$STALE"
fi

mkdir -p "$LOGDIR"
declare -A TOUCHED=()

run_one() {
  local i=$1 kind sel_text t0=$SECONDS
  local -a sel=() targets=()
  kind="${M_WHERE[i]%% *}"
  sel_text="${M_WHERE[i]#"$kind"}"
  read -r -a sel <<<"$sel_text"
  [ "$WIDE" = 1 ] && sel=()
  read -r -a targets <<<"$(targets_for "$kind" "${sel[@]}")"
  local id="${M_ID[i]}" file="${M_FILE[i]}"
  echo "=== $id ($kind${sel_text:+:$sel_text}) $file: ${M_WHAT[i]}"

  BACKUP="$(mktemp "${TMPDIR:-/tmp}/orv-mutant.XXXXXX")"
  cp -- "$file" "$BACKUP"
  MUTATED="$file"
  pair_args "$i"
  if ! msg="$(apply_pairs "$file" apply "${ARGS[@]}")"; then
    restore
    RESULT[$i]=STALE; DETAIL[$i]="$msg"; return
  fi
  TOUCHED[$kind]=1
  if ! build "$kind" "$LOGDIR/$id.build.log" "${targets[@]}"; then
    restore
    RESULT[$i]=BUILD
    DETAIL[$i]="compile error: $(grep -m1 -E 'error' "$LOGDIR/$id.build.log" | cut -c1-100)"
    SECS[$i]=$((SECONDS - t0))
    return
  fi
  run_tests "$kind" "$LOGDIR/$id.test.log" "${sel[@]}"
  restore
  SECS[$i]=$((SECONDS - t0))
  case "$TEST_STATE" in
    failed)
      local -a names
      read -r -a names <<<"$FAILED_TESTS"
      RESULT[$i]=KILLED
      DETAIL[$i]="${names[*]:0:3}"
      [ ${#names[@]} -gt 3 ] && DETAIL[$i]+=" (+$(( ${#names[@]} - 3 )) more)"
      ;;
    passed) RESULT[$i]=SURVIVED; DETAIL[$i]="" ;;
    notests) RESULT[$i]=NOTESTS; DETAIL[$i]="no test matched: ${sel[*]}" ;;
    *) RESULT[$i]=ERROR; DETAIL[$i]="ctest failed without naming a test (see $LOGDIR/$id.test.log)" ;;
  esac
  DETAIL[$i]+=" [${SECS[$i]} s]"
  echo "    ${RESULT[$i]}: ${DETAIL[$i]}"
}

# Natively first, then everything that needs the Wine stand on one stand.
for pass in native wine; do
  declare -a todo=()
  for i in "${RUN[@]}"; do
    [ -n "${RESULT[$i]:-}" ] && continue  # stale
    [ "${M_WHERE[i]%% *}" = "$pass" ] && todo+=("$i")
  done
  [ ${#todo[@]} -gt 0 ] || continue
  ensure_configured "$pass"
  if [ "$pass" = wine ]; then
    if ! build wine "$LOGDIR/stand-tools.log" standin_shell; then
      echo "mutants: cannot build the stand's tools (see $LOGDIR/stand-tools.log)" >&2; exit 2
    fi
    # shellcheck source=../scripts/stand.sh
    source scripts/stand.sh
    stand_up || { echo "mutants: the Wine stand did not come up" >&2; exit 2; }
    STAND=1
  fi
  for i in "${todo[@]}"; do run_one "$i"; done
  if [ "$pass" = wine ]; then stand_down; STAND=0; fi
done

# The build folders hold the last fault's binaries: build the product as it is again.
if [ "$KEEP_BUILD" = 0 ]; then
  for kind in "${!TOUCHED[@]}"; do
    echo "=== rebuilding $(preset_dir "$kind") without faults"
    build "$kind" "$LOGDIR/rebuild-$kind.log" || echo "mutants: the clean rebuild of $(preset_dir "$kind") failed (see $LOGDIR/rebuild-$kind.log)" >&2
  done
fi

print_table | tee "$LOGDIR/results.txt"
for i in "${RUN[@]}"; do [ "${RESULT[$i]:-}" = KILLED ] || exit 1; done
exit 0
