#!/usr/bin/env bash
# Installs the Debian package built from a build tree with apt-get, as an
# administrator would, checks the installed program, and removes it again.
# Changes the machine: run it as root on a machine meant for it (CI runs it).
# Usage: package-check.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > cpack.log)
deb=$(ls "$work"/*.deb)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" > "$work/install.log"
test "$(readlink -f /usr/bin/saldex-export)" = /opt/saldex-export/bin/saldex-export
saldex-export --version
dbftool --version
man -w saldex-export > /dev/null
# The program finds Korvana.ini beside itself, not beside the link.
if saldex-export --export > "$work/out" 2>&1; then
  echo "export without Korvana.ini succeeded" >&2; exit 1
fi
grep -q "/opt/saldex-export/bin//Korvana.ini nenalezen" "$work/out" ||
  { cat "$work/out" >&2; exit 1; }
apt-get remove -y -qq --purge saldex-export > "$work/remove.log"
for path in /opt/saldex-export /usr/bin/saldex-export /usr/share/applications/saldex-export.desktop \
            /usr/share/man/man1/saldex-export.1.gz; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "left after removal: $path" >&2; exit 1; fi
done
echo "package installs, runs and removes cleanly"
