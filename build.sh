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
  cmake --preset release "$@" >/dev/null
  cmake --build --preset release -j "$jobs"
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
