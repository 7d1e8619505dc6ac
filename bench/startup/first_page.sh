#!/usr/bin/env bash
# The first page of a 5,000-page manual on the first screen, against
# kchmviewer (Debian's CHM viewer) showing the same manual, in the same run.
#
#   bench/startup/first_page.sh [BUILD_DIR] [--runs=N] [--warmup=N] [--pages=N]
#                                [--work=DIR] [--peers=DIR] [--program=FILE]
#                                [--baseline=FILE]
#
# 1. Generates the Russian manual with the peers' generator (gen_manual.py N:
#    windows-1251 pages in chNN/pNNNNN.htm, contents.txt), compiles it into a
#    CHM (make_chm.sh) and converts it to this program's format: the pages,
#    the style sheet and contents.txt with a Struct.txt whose first screen
#    shows the first page in a page panel and whose document screen shows
#    contents.txt as its contents tree, packed with dattool into
#    interface.dat beside a copy of the program. The skin's pictures are made
#    here with ImageMagick. Cached in the work folder until the generator,
#    the CHM maker or this script change.
# 2. On a private Xvfb (1280x1024x24, no window manager) launches, in turn,
#    kchmviewer on the CHM, the program with its opening animation and the
#    program without it (CARMANUAL_NO_OPENING_ANIMATION=1), each through the
#    peers' xpaintwait (built here from its source): milliseconds from launch
#    to the window mapped, to its page area showing text on a light page, and
#    to the process going idle; the CPU time (user + system) used until idle;
#    the peak RSS. Every launch gets a fresh HOME and runtime folder.
#    --baseline=FILE adds another build of the program (a copy of an earlier
#    carmanual) with and without its animation to the same rotation, beside
#    the same interface.dat, so a change is measured against what it changed.
# 3. Prints the medians and the ratios of the program's median first page to
#    kchmviewer's (target: at most 0.7 with the animation on and off) and of
#    the peak memory. Exit status 2 when a ratio misses its target.
#
# Needs (Debian 12): kchmviewer fp-utils libchm-bin xvfb xdotool imagemagick
#   gcc libx11-dev python3; install them with
#   apt-get install -y --no-install-recommends kchmviewer fp-utils libchm-bin \
#     xvfb xdotool imagemagick gcc libx11-dev python3
# The peers' tools are read from /work/shared/peers (--peers=DIR or
# CARMANUAL_PEERS). Every process this script starts is stopped by its pid.
set -uo pipefail
export LC_ALL=C.UTF-8

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$top/build
if (($#)) && [ -d "$1" ]; then
  build=$(cd "$1" && pwd)
  shift
fi
runs=15
warmup=2
pages=5000
work=
program=
baseline=
peers=${CARMANUAL_PEERS:-/work/shared/peers}
for arg in "$@"; do
  case $arg in
  --runs=*) runs=${arg#*=} ;;
  --warmup=*) warmup=${arg#*=} ;;
  --pages=*) pages=${arg#*=} ;;
  --work=*) work=${arg#*=} ;;
  --peers=*) peers=${arg#*=} ;;
  --program=*) program=${arg#*=} ;;
  --baseline=*) baseline=${arg#*=} ;;
  *)
    echo "first_page.sh: unknown option $arg" >&2
    exit 1
    ;;
  esac
done
work=${work:-$build/bench/startup/first-page}

die() {
  echo "first_page.sh: $*" >&2
  exit 1
}
need() { command -v "$1" > /dev/null 2>&1 || die "missing $1: apt-get install -y --no-install-recommends $2"; }
need kchmviewer kchmviewer
need chmcmd fp-utils
need extract_chmLib libchm-bin
need Xvfb xvfb
need xdotool xdotool
need gcc gcc
need python3 python3
[ -x /usr/bin/convert ] || die "missing /usr/bin/convert: apt-get install -y --no-install-recommends imagemagick"
[ -f /usr/include/X11/Xlib.h ] || die "missing Xlib.h: apt-get install -y --no-install-recommends libx11-dev"
for f in gen_manual.py make_chm.sh xpaintwait.c; do
  [ -f "$peers/$f" ] || die "no $peers/$f (the peers' tools: --peers=DIR)"
done
program=${program:-$build/demo/carmanual}
dattool=$build/tools/dattool/dattool
[ -x "$program" ] || die "no $program: cmake --build $build"
[ -x "$dattool" ] || dattool=$(find "$build/tools" -name dattool -type f -perm -u+x | head -1)
[ -x "$dattool" ] || die "no dattool in $build/tools: cmake --build $build --target dattool"

mkdir -p "$work/bin" "$work/logs" "$work/home"
gcc -O2 -Wall -o "$work/bin/xpaintwait" "$peers/xpaintwait.c" -lX11 || die "cannot build xpaintwait"
xpw=$work/bin/xpaintwait

# ------------------------------------------------------------------ data
manual=$work/m$pages
app=$work/app
stamp=$(cat "$peers/gen_manual.py" "$peers/make_chm.sh" "$0" | md5sum | cut -c1-16)-$pages
if [ "$(cat "$work/data.stamp" 2> /dev/null)" != "$stamp" ] || [ ! -f "$manual.chm" ] ||
  [ ! -f "$app/interface.dat" ]; then
  echo "== generating the $pages-page manual, its CHM and its interface.dat"
  rm -rf "$work/data.stamp" "$manual" "$manual.chm" "$app" "$work/staging"
  python3 "$peers/gen_manual.py" "$pages" "$manual" > "$work/logs/gen_manual.log" ||
    die "gen_manual.py failed (see $work/logs/gen_manual.log)"
  "$peers/make_chm.sh" "$manual" > "$work/logs/make_chm.log" 2>&1 ||
    die "make_chm.sh failed (see $work/logs/make_chm.log)"

  staging=$work/staging
  mkdir -p "$staging/skin"
  # The manual's own files, without the CHM project.
  for f in "$manual"/*; do
    case $(basename "$f") in
    manual.hh? | chmcmd.log) ;;
    *) cp -al "$f" "$staging/" ;;
    esac
  done
  # The skin: two plain backgrounds (a JPEG for the first screen and a bitmap
  # for the document screen, as the demo manual has them), a button to each
  # screen, minimize and close.
  c=/usr/bin/convert
  $c -size 800x600 gradient:'#34404e-#1c232c' -quality 90 "$staging/skin/title.jpg"
  $c -size 800x600 gradient:'#3a4552-#20262e' -type TrueColor "BMP3:$staging/skin/manual.bmp"
  for s in 1:'#4a5a6c' 2:'#5f7388' 3:'#2e3946'; do
    n=${s%%:*} colour=${s#*:}
    $c -size 140x26 "xc:$colour" -type TrueColor "BMP3:$staging/skin/button$n.bmp"
    $c -size 24x20 "xc:$colour" -type TrueColor "BMP3:$staging/skin/min$n.bmp"
    $c -size 24x20 "xc:$colour" -fill '#d0d6dc' -draw 'line 6,5 17,14 line 6,14 17,5' \
      -type TrueColor "BMP3:$staging/skin/close$n.bmp"
  done
  python3 - "$staging" "$pages" << 'EOF' || die "cannot write the description"
import sys
out, pages = sys.argv[1], sys.argv[2]
first = open(out + "/contents.txt", encoding="cp1251", newline="").read().split("\r\n")[0]
first = first.split(";", 1)[0].strip().replace("/", "\\")
caption = ("textfontname=dejavu sans; textfontsize=10; textfontstyleup=bold; textfontstylemv=bold; "
           "textfontstyledn=bold\r\ntextfontcolorup=223,228,234; textfontcolormv=255,177,59; "
           "textfontcolordn=255,210,122\r\n")
struct = (
    "minimize vx=736 vy=6 fn1=skin\\min1.bmp; fn2=skin\\min2.bmp; fn3=skin\\min3.bmp\r\n"
    "hint=Свернуть окно; wav=no\r\n"
    "close vx=766 vy=6 fn1=skin\\close1.bmp; fn2=skin\\close2.bmp; fn3=skin\\close3.bmp\r\n"
    "hint=Выход из программы; wav=no\r\n\r\n"
    "1 _screen=skin\\title.jpg\r\n"
    "1 button vx=20 vy=6 fn1=skin\\button1.bmp; fn2=skin\\button2.bmp; fn3=skin\\button3.bmp\r\n"
    "textcaption=Содержание; texttx=0; textty=4; textbx=140; textby=24\r\n" + caption +
    "go=screen2; hint=Страницы и оглавление руководства; wav=no\r\n"
    "1 _html vx=20 vy=40 vw=780 vh=580 fn=" + first + "; number=10\r\n\r\n"
    "2 _screen=skin\\manual.bmp\r\n"
    "2 button vx=20 vy=6 fn1=skin\\button1.bmp; fn2=skin\\button2.bmp; fn3=skin\\button3.bmp\r\n"
    "textcaption=Главная; texttx=0; textty=4; textbx=140; textby=24\r\n" + caption +
    "go=1; hint=Первая страница; wav=no\r\n"
    "2 _html vx=33 vy=90 vw=706 vh=511 fn=" + first + "; number=20\r\n"
    "2 _tree vw=300 vh=511 colorselect=255,159,28; colorselecttext=24,26,30; fn=contents.txt\r\n"
    "2 _splitter color=52,59,68\r\n")
open(out + "/Struct.txt", "wb").write(struct.encode("cp1251"))
open(out + "/Title.txt", "wb").write(("Сигма 1.6: %s страниц\r\n" % pages).encode("cp1251"))
EOF
  mkdir -p "$app"
  "$dattool" pack "$staging" "$app/interface.dat" > "$work/logs/dattool.log" 2>&1 ||
    die "dattool pack failed (see $work/logs/dattool.log)"
  rm -rf "$staging"
  echo "$stamp" > "$work/data.stamp"
fi
# The program as installed beside its manual: always the one just built.
cp -f "$program" "$app/carmanual"
for m in "$(dirname "$program")"/libcarmanual-media*.so; do
  [ -f "$m" ] && cp -f "$m" "$app/"
done
if [ -n "$baseline" ]; then
  [ -x "$baseline" ] || die "no $baseline"
  cp -f "$baseline" "$app/carmanual-baseline"
fi

# ------------------------------------------------------------------ X server
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2> /dev/null
    wait "$xvfb_pid" 2> /dev/null
  fi
}
trap cleanup EXIT
display=
for n in $(seq 97 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  display=:$n
  break
done
[ -n "$display" ] || die "no free X display number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > "$work/logs/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  DISPLAY=$display xdotool getdisplaygeometry > /dev/null 2>&1 && break
  sleep 0.1
done
DISPLAY=$display xdotool getdisplaygeometry > /dev/null 2>&1 || die "Xvfb did not start (see $work/logs/xvfb.log)"

# ------------------------------------------------------------------ launches
# The page area looked at, the same fractions of every window (the peers'
# default): inside the page pane of kchmviewer's 900x700 window and inside
# the first screen's page panel here (x 20..780, y 40..580 of 800x600).
peer_region=0.42,0.36,0.92,0.86
our_region=$peer_region
# CPU time of the launched process (all its threads, ended ones too) when it
# has gone idle, from its /proc stat line, in clock ticks.
# shellcheck disable=SC2016 # expanded by the hook's own shell
cpu_hook='read -r line < /proc/$XPW_PID/stat; set -- ${line##*) }; echo "cpu_ticks=$((${12} + ${13}))"'
launch() { # launch NAME REGION ENV... -- COMMAND...
  local name=$1 region=$2
  shift 2
  local h=$work/home/$name
  rm -rf "$h"
  mkdir -p "$h/runtime"
  chmod 700 "$h/runtime"
  local envs=()
  while [ "$1" != -- ]; do
    envs+=("$1")
    shift
  done
  shift
  env -i PATH=/usr/bin:/bin HOME="$h" DISPLAY="$display" XDG_RUNTIME_DIR="$h/runtime" LANG=C.UTF-8 \
    "${envs[@]}" "$xpw" -T 60 -r "$region" -X "$cpu_hook" -L "$work/logs/$name.log" -- "$@"
}
subjects=(kchmviewer carmanual carmanual-no-animation)
[ -n "$baseline" ] && subjects+=(baseline baseline-no-animation)
run_subject() {
  case $1 in
  kchmviewer) launch kchmviewer "$peer_region" -- kchmviewer "$manual.chm" ;;
  carmanual) launch carmanual "$our_region" -- "$app/carmanual" ;;
  carmanual-no-animation)
    launch carmanual-no-animation "$our_region" CARMANUAL_NO_OPENING_ANIMATION=1 -- "$app/carmanual"
    ;;
  baseline) launch baseline "$our_region" -- "$app/carmanual-baseline" ;;
  baseline-no-animation)
    launch baseline-no-animation "$our_region" CARMANUAL_NO_OPENING_ANIMATION=1 -- \
      "$app/carmanual-baseline"
    ;;
  esac
}
results=$work/results.txt
: > "$results"
ticks=$(getconf CLK_TCK)
echo "== $warmup warm-up and $runs measured launches of each, alternating; load average $(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 1 - warmup; r <= runs; r++)); do
  # Every other round in the reverse order.
  order=()
  for s in "${subjects[@]}"; do
    if ((r % 2 == 0)); then order=("$s" "${order[@]}"); else order+=("$s"); fi
  done
  for s in "${order[@]}"; do
    out=$(run_subject "$s" | tr '\n' ' ')
    if ! grep -q 't_paint_ms=' <<< "$out"; then
      echo "   $s: no page painted: $out" >&2
      continue
    fi
    ((r >= 1)) && echo "$s $out" >> "$results"
  done
  ((r >= 1)) && printf '\r   run %d of %d' "$r" "$runs"
done
echo

# ------------------------------------------------------------------ report
python3 - "$results" "$ticks" "$pages" "$(cut -d' ' -f1-3 /proc/loadavg)" << 'EOF'
import re, statistics, sys
path, ticks, pages, load = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
data = {}
for line in open(path):
    name, rest = line.split(" ", 1)
    kv = dict(re.findall(r"(\w+)=([^ ]+)", rest))
    data.setdefault(name, []).append(kv)
names = {"kchmviewer": "kchmviewer, the CHM",
         "carmanual": "carmanual, opening animation",
         "carmanual-no-animation": "carmanual, no animation",
         "baseline": "baseline, opening animation",
         "baseline-no-animation": "baseline, no animation"}
def med(name, key, scale=1.0):
    values = [float(r[key]) * scale for r in data.get(name, []) if key in r and float(r[key]) >= 0]
    return (statistics.median(values), min(values), max(values), len(values)) if values else None
print("first page of a %s-page manual: launch -> window mapped -> page painted; medians (ms)" % pages)
print("%-30s %8s %18s %8s %8s %9s" % ("", "mapped", "page [min-max]", "idle", "CPU", "peak RSS"))
for name in names:
    if name not in data and name.startswith("baseline"):
        continue
    m, p, i = med(name, "t_map_ms"), med(name, "t_paint_ms"), med(name, "t_idle_ms")
    c, v = med(name, "cpu_ticks", 1000.0 / ticks), med(name, "vmhwm_kb", 1 / 1024)
    if not p:
        print("%-30s no runs" % names[name]); continue
    print("%-30s %8.1f %8.1f [%.0f-%.0f] %8.1f %8.1f %6.1f MB   (%d runs)" % (
        names[name], m[0], p[0], p[1], p[2], i[0] if i else -1, c[0] if c else -1, v[0], p[3]))
status = 0
peer = med("kchmviewer", "t_paint_ms")
for name, label in (("carmanual", "opening animation"), ("carmanual-no-animation", "no animation"),
                    ("baseline", "opening animation"), ("baseline-no-animation", "no animation")):
    p = med(name, "t_paint_ms")
    if name.startswith("baseline"):
        if p and peer:
            print("ratio baseline/kchmviewer, first page, %s: %.2f (for information)" % (label, p[0] / peer[0]))
        continue
    if not peer or not p:
        status = 2; continue
    ratio = p[0] / peer[0]
    cpu = med(name, "cpu_ticks"); cpu_peer = med("kchmviewer", "cpu_ticks")
    cpu_text = "%.2f" % (cpu[0] / cpu_peer[0]) if cpu and cpu_peer and cpu_peer[0] > 0 else "?"
    met = ratio <= 0.7
    status = status if met else 2
    print("ratio carmanual/kchmviewer, first page, %s: %.2f (target <= 0.7): %s   [CPU time to idle: %s]"
          % (label, ratio, "met" if met else "MISSED", cpu_text))
mems = [m[0] for m in (med("carmanual", "vmhwm_kb"), med("carmanual-no-animation", "vmhwm_kb")) if m]
mem_peer = med("kchmviewer", "vmhwm_kb")
if mems and mem_peer:
    print("ratio carmanual/kchmviewer, peak RSS (the larger of the two): %.2f" % (max(mems) / mem_peer[0]))
print("load average at the end: %s" % load)
sys.exit(status)
EOF
