#!/usr/bin/env bash
# Builds only what the desktop program needs, writes the demo data when it
# is missing and opens the main window on it. Without a display it says so
# and runs the batch export of the demo invoices instead. Arguments are
# passed on to saldex-export.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
ninja -C build saldex-export saldex-demo-data
if [ ! -f demo/Korvana.ini ] || [ ! -f demo/saldex/KPOHLED.DBF ]; then
  build/tools/saldex-demo-data demo
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  exec build/tools/saldex-export --ini-dir demo "$@"
fi
echo "No display (DISPLAY is not set): the main window cannot open;" \
  "running the batch export of the demo invoices instead." >&2
exec build/tools/saldex-export --ini-dir demo --export
