#!/usr/bin/env bash
# Builds and runs every test: the main build's unit, widget and end-to-end
# tests, the core tests under AddressSanitizer and UBSan, and each fuzz target
# for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${CARMANUAL_FUZZ_SECONDS:-20}

export LANG=C.UTF-8 LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/carmanual-run.XXXXXX)}
chmod 700 "$XDG_RUNTIME_DIR"
# Settings written by tests stay out of the user's own configuration.
export XDG_CONFIG_HOME=$(mktemp -d /tmp/carmanual-config.XXXXXX)
export GST_PLUGIN_FEATURE_RANK=jackaudiosink:NONE,openalsink:NONE,oss4sink:NONE,osssink:NONE

# A sound server with a null sink, so sound effects and players run as on a desktop.
started_pulse=0
if command -v pulseaudio >/dev/null && ! pactl info >/dev/null 2>&1; then
  if pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
      --load="module-null-sink sink_name=null" --load=module-native-protocol-unix 2>/dev/null; then
    started_pulse=1
  fi
fi
cleanup() {
  [ "$started_pulse" = 1 ] && pactl exit >/dev/null 2>&1 || true
  rm -rf "$XDG_CONFIG_HOME"
}
trap cleanup EXIT

echo "== Main build and tests"
cmake --preset release -DCARMANUAL_WERROR=ON >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

echo "== Core tests under AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== Fuzz targets, ${fuzz_seconds}s each"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
fuzz_failed=0
for target in "$top"/build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$top/build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$top/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  if "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$top/build/fuzz/" $corpus $seeds >"$top/build/fuzz/$name.log" 2>&1; then
    echo "$name: $(grep -E '^#[0-9]+.*DONE' "$top/build/fuzz/$name.log" | tail -1)"
  else
    echo "$name FAILED:"; tail -40 "$top/build/fuzz/$name.log"; fuzz_failed=1
  fi
done
[ "$fuzz_failed" = 0 ] || exit 1
echo "All tests passed."
