#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo data (when missing),
# rebuilds its store indexes in batch mode, shows a few invoices and exports
# the invoices into the demo Saldex 2 directory twice (the second run finds
# every invoice there already).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ ! -f demo/Korvana.ini ] || [ ! -f demo/saldex/KPOHLED.DBF ]; then
  build/tools/saldex-demo-data demo
fi
# Korvana.ini is looked for beside the executable; SALDEX_INI_DIR points elsewhere.
SALDEX_INI_DIR=demo build/tools/saldex-export --reindex
build/tools/dbftool info demo/data/Fak0001.dbf
build/tools/dbftool dump demo/data/Fak0001.dbf --index demo/data/Fak0001.cdx --tag DO1 \
  --range 2500001 2500005
build/tools/dbftool check demo/data/Fak0001.dbf demo/data/Fak0001.cdx
SALDEX_INI_DIR=demo build/tools/saldex-export --export
SALDEX_INI_DIR=demo build/tools/saldex-export --export
