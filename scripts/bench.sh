#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmark: 50 reads and 50 writes against the
# virtual radio on a modelled 115200 8N1 line, then the real window under a virtual X server.
# Arguments go to tangelo_bench (--json, --count N, --runs N, --idle-seconds S, --peer PATH).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
bash "$here/scripts/setup.sh"
BUILD_DIR="$build" bash "$here/scripts/build.sh" >/dev/null
exec "$build/bench/tangelo_bench" --window "$@"
