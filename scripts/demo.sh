#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo data and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
mkdir -p demo
build/tools/saldex-demo-data demo
build/tools/dbftool info demo/Fak0001.dbf
build/tools/dbftool dump demo/Fak0001.dbf
