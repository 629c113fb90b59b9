#!/bin/sh
# Whole-process time of the headless PDF export against the floor of this stack.
#
#   bench/cli_startup.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default build) must hold src/app/plennix, bench/pdf_floor, bench/pdf_month_floor and
# bench/cli_startup_fixture (cmake --build BUILD_DIR --target plennix pdf_floor pdf_month_floor
# cli_startup_fixture). The fixture writes a
# December 2026 month page with holiday texts in ten day cells; the script then times, RUNS times each
# (default 30), in turn so that machine load falls on all alike:
#   floor    pdf_floor: a Qt GUI application writing one line of text into a one-page PDF
#   page     pdf_month_floor: a Qt GUI application drawing the same month's texts and grid with plain
#            QPainter calls (what the page itself costs on this stack, whatever program draws it)
#   month    plennix --print-pdf on the month page
#   year     plennix --print-pdf --months 12 on the same page
# and prints the median and the fastest run of each (milliseconds) and the ratios month/floor, page/floor,
# month/page (goal 1.10: what plennix costs beyond any program drawing the same page) and year/month (goal
# 1.3). On a busy machine wall time mostly measures the wait for a CPU, so
# where perf is installed the script also prints the CPU time of each (perf stat's task-clock). With remind and rem2pdf installed it also times remind -p1 and
# -p12 piped into rem2pdf for the same months. With valgrind installed it also counts the instructions
# each runs (callgrind), which machine load does not change.
set -eu

BUILD=${1:-build}
RUNS=${2:-30}
PLENNIX=$BUILD/src/app/plennix
FLOOR=$BUILD/bench/pdf_floor
PAGE=$BUILD/bench/pdf_month_floor
FIXTURE=$BUILD/bench/cli_startup_fixture
for f in "$PLENNIX" "$FLOOR" "$PAGE" "$FIXTURE"; do
    [ -x "$f" ] || { echo "missing $f: build the targets plennix pdf_floor pdf_month_floor cli_startup_fixture" >&2; exit 1; }
done

# plennix writes its output durably (the file and its folder are synced before it reports success, as
# every save is); on a disk that waits for the device, which the floor programs never do. The work
# folder is therefore in memory (/dev/shm) where there is one, so that the ratios compare the programs'
# own work; BENCH_TMPDIR=/tmp (any folder) measures with that folder's device wait included.
BENCH_TMPDIR=${BENCH_TMPDIR:-}
if [ -z "$BENCH_TMPDIR" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then BENCH_TMPDIR=/dev/shm; fi
WORK=$(mktemp -d ${BENCH_TMPDIR:+-p "$BENCH_TMPDIR"})
echo "work folder: $WORK"
trap 'rm -rf "$WORK"' EXIT
# Both sides draw off-screen and share one private runtime folder.
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export PLENNIX_PROGRAM_DIR="$WORK"

"$FIXTURE" "$WORK/month.PXF"

now_ns() { date +%s%N; }

# time_once NAME COMMAND...: appends one run's milliseconds to $WORK/NAME.
time_once() {
    name=$1
    shift
    start=$(now_ns)
    "$@" >/dev/null 2>&1 || { echo "$name failed: $*" >&2; exit 1; }
    end=$(now_ns)
    echo $(((end - start) / 1000)) >>"$WORK/$name"
}

have_remind=0
if command -v remind >/dev/null 2>&1 && command -v rem2pdf >/dev/null 2>&1; then
    have_remind=1
    cat >"$WORK/holidays.rem" <<'EOF'
REM 1 Dec 2026 MSG World AIDS Day
REM 6 Dec 2026 MSG St Nicholas
REM 8 Dec 2026 MSG Immaculate Conception
REM 10 Dec 2026 MSG Human Rights Day
REM 13 Dec 2026 MSG St Lucy
REM 21 Dec 2026 MSG Winter solstice
REM 24 Dec 2026 MSG Christmas Eve
REM 25 Dec 2026 MSG Christmas Day
REM 26 Dec 2026 MSG Boxing Day
REM 31 Dec 2026 MSG New Year's Eve
EOF
fi

i=0
while [ "$i" -lt "$RUNS" ]; do
    time_once floor "$FLOOR" "$WORK/floor.pdf"
    time_once page "$PAGE" "$WORK/page.pdf"
    time_once month "$PLENNIX" --print-pdf "$WORK/month.pdf" "$WORK/month.PXF"
    time_once year "$PLENNIX" --print-pdf "$WORK/year.pdf" --months 12 "$WORK/month.PXF"
    if [ "$have_remind" = 1 ]; then
        time_once remind1 sh -c "remind -p1 '$WORK/holidays.rem' 1 Dec 2026 | rem2pdf >'$WORK/r1.pdf'"
        time_once remind12 sh -c "remind -p12 '$WORK/holidays.rem' 1 Dec 2026 | rem2pdf >'$WORK/r12.pdf'"
    fi
    i=$((i + 1))
done

# stats NAME: "median fastest" in milliseconds with one decimal.
stats() {
    sort -n "$WORK/$1" | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f", m / 1000, v[1] / 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

set -- $(stats floor); floor_med=$1; floor_min=$2
set -- $(stats page); page_med=$1; page_min=$2
set -- $(stats month); month_med=$1; month_min=$2
set -- $(stats year); year_med=$1; year_min=$2
printf '%-34s %10s %10s\n' "runs: $RUNS" "median ms" "fastest ms"
printf '%-34s %10s %10s\n' "floor (QGuiApplication+QPdfWriter)" "$floor_med" "$floor_min"
printf '%-34s %10s %10s\n' "page (the month, plain QPainter)" "$page_med" "$page_min"
printf '%-34s %10s %10s\n' "plennix --print-pdf (1 month)" "$month_med" "$month_min"
printf '%-34s %10s %10s\n' "plennix --print-pdf --months 12" "$year_med" "$year_min"
echo "month / floor: $(ratio "$month_med" "$floor_med") (median), $(ratio "$month_min" "$floor_min") (fastest)"
echo "page / floor:  $(ratio "$page_med" "$floor_med") (median), $(ratio "$page_min" "$floor_min") (fastest)"
echo "month / page:  $(ratio "$month_med" "$page_med") (median), $(ratio "$month_min" "$page_min") (fastest); goal 1.10"
echo "year / month:  $(ratio "$year_med" "$month_med") (median), $(ratio "$year_min" "$month_min") (fastest); goal 1.3"
if [ "$have_remind" = 1 ]; then
    set -- $(stats remind1); r1=$1
    set -- $(stats remind12); r12=$1
    echo "remind -p1 | rem2pdf: $r1 ms, plennix month / that: $(ratio "$month_med" "$r1")"
    echo "remind -p12 | rem2pdf: $r12 ms, plennix year / that: $(ratio "$year_med" "$r12")"
fi
# measure_all FUNCTION: "floor page month year", FUNCTION's figure for each program in turn; nothing when
# one of them gives none.
measure_all() {
    f=$("$1" "$FLOOR" "$WORK/floor.pdf")
    p=$("$1" "$PAGE" "$WORK/page.pdf")
    m=$("$1" "$PLENNIX" --print-pdf "$WORK/month.pdf" "$WORK/month.PXF")
    y=$("$1" "$PLENNIX" --print-pdf "$WORK/year.pdf" --months 12 "$WORK/month.PXF")
    if [ -n "$f" ] && [ -n "$p" ] && [ -n "$m" ] && [ -n "$y" ]; then echo "$f $p $m $y"; fi
}
if command -v perf >/dev/null 2>&1; then
    # cpu_ms COMMAND...: mean task-clock milliseconds over RUNS runs.
    cpu_ms() {
        perf stat -x, -e task-clock -r "$RUNS" "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ { printf "%.1f", $1 }'
    }
    cpu=$(measure_all cpu_ms)
    if [ -n "$cpu" ]; then
        set -- $cpu
        echo "CPU ms (perf task-clock): floor $1, page $2, month $3, year $4"
        echo "CPU month / floor: $(ratio "$3" "$1"); CPU page / floor: $(ratio "$2" "$1");" \
             "CPU month / page: $(ratio "$3" "$2"); CPU year / month: $(ratio "$4" "$3")"
    fi
fi
if command -v valgrind >/dev/null 2>&1; then
    # instructions COMMAND...: instructions executed in user space (callgrind), the same for every run
    # of the same program on the same input, however busy the machine is; the dynamic loader's work is
    # counted, the kernel's (mapping files, faults) is not.
    instructions() {
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
            awk '/Collected :/ { print $NF }'
    }
    counted=$(measure_all instructions)
    if [ -n "$counted" ]; then
        set -- $counted
        echo "instructions (callgrind): floor $1, page $2, month $3, year $4"
        echo "instructions month / page: $(ratio "$3" "$2"); year / month: $(ratio "$4" "$3")"
    fi
fi
