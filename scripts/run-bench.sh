#!/usr/bin/env bash
# Runs every benchmark program; each prints "ratio NAME VALUE" lines (ours / the
# usual tool, below 1 means faster).
set -euo pipefail
build=${1:-build}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-bench-home-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{home,config,data,runtime}
chmod 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
