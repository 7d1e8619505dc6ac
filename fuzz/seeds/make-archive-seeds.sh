#!/usr/bin/env bash
# Writes the archive fuzzer's seeds with dattool: a few tiny archives with
# nested and Cyrillic folders, packed and raw members, a hidden name.
#   fuzz/seeds/make-archive-seeds.sh build/tools/dattool/dattool
set -euo pipefail
dattool=${1:?usage: $0 path/to/dattool}
out=$(cd "$(dirname "$0")" && pwd)/archive
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

mkdir -p "$work/one"
printf 'x' >"$work/one/A"
"$dattool" pack "$work/one" "$out/one-file.dat" >/dev/null

mkdir -p "$work/tree/Глава1/sub" "$work/tree/.hidden"
printf 'vx=1;vy=2\r\n' >"$work/tree/Struct.txt"
for i in 1 2 3 4 5 6 7 8; do printf 'brakes brakes brakes ' >>"$work/tree/Глава1/Тормоза.htm"; done
printf 'd' >"$work/tree/Глава1/sub/d"
: >"$work/tree/empty"
printf 's' >"$work/tree/.hidden/s"
"$dattool" pack "$work/tree" "$out/tree.dat" >/dev/null

mkdir -p "$work/x/X"
printf 'f' >"$work/x/x.txt"
printf 'y' >"$work/x/X/Y"
"$dattool" pack "$work/x" "$out/file-and-folder.dat" >/dev/null

# The fuzzer's raw-directory form: 'R', the block's length (16 + 2*8 + 3*80
# = 272 bytes), the block: the root with a file A and a folder B that holds
# a file C; then the data area.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
name64() { printf '%s' "$1"; head -c $((64 - ${#1})) /dev/zero; }
{
  printf "R$(printf '\\x%02x\\x%02x' $((272 & 255)) $((272 >> 8)))"
  printf "$(le32 2)$(le32 3)$(le32 0)$(le32 0)"  # folders, entries, reserved, root
  printf "$(le32 0)$(le32 2)$(le32 2)$(le32 1)"  # folder 0: entries 0-1; folder 1: entry 2
  name64 A; printf "$(le32 0)$(le32 1)$(le32 1)$(le32 1)"
  name64 B; printf "$(le32 1)$(le32 0)$(le32 0)$(le32 2)"
  name64 C; printf "$(le32 1)$(le32 1)$(le32 1)$(le32 1)"
  printf 'xy'
} >"$out/raw-directory.bin"
