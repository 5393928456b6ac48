#!/usr/bin/env bash
# Runs every test with CTest in an isolated environment: offscreen Qt and fresh HOME
# and XDG folders, so no test touches the user's files.
set -euo pipefail
build=${1:-build}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-ctest-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{home,config,data,runtime,cache}
chmod 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CACHE_HOME="$scratch/cache"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
