#!/usr/bin/env bash
# Runs the start-up benchmark on a private Xvfb (the way the window shows on
# an X desktop). Arguments go to startup_bench (--runs=N ...).
#   bench/startup/run.sh [BUILD_DIR] [options]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$top/build
if (($#)) && [ -d "$1" ]; then
  build=$1
  shift
fi
bench=$build/bench/startup/startup_bench
[ -x "$bench" ] || {
  echo "no $bench: cmake --build $build --target startup_bench" >&2
  exit 1
}
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb "$bench" "$@"
