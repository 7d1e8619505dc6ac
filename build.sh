#!/usr/bin/env bash
# One entry point for people and CI.
#   ./build.sh run    install what is missing, build, start the viewer on the demo manual
#   ./build.sh test   install what is missing, build, run every test
#   ./build.sh build  build only (build/)
set -euo pipefail
cd "$(dirname "$0")"
top=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

configure_main() {
  cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$top/build" -j "$jobs"
}

case "${1:-}" in
  run)
    bash scripts/setup-debian.sh
    configure_main
    exec "$top/build/demo/carmanual"
    ;;
  build)
    configure_main
    ;;
  test)
    bash scripts/setup-debian.sh
    exec bash scripts/run-tests.sh
    ;;
  *)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
