#!/usr/bin/env bash
# Builds the Debian package from a build tree and inspects it: the file list,
# the links on the PATH, the declared dependencies, the desktop entry and the
# manual pages. Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}" > "$work/out" 2>&1; then
    echo "ok: $1"
  else
    echo "FAILED: $1"; sed 's/^/    /' "$work/out"; failures=$((failures + 1))
  fi
}

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > cpack.log 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb)
dpkg-deb -c "$deb" | awk '{print $6 $7 $8}' > "$work/files"
has() { grep -qxF -- "$1" "$work/files"; }

for f in ./opt/saldex-export/bin/saldex-export ./opt/saldex-export/bin/dbftool \
         ./opt/saldex-export/bin/saldex-demo-data \
         ./usr/share/applications/saldex-export.desktop \
         ./usr/share/icons/hicolor/scalable/apps/saldex-export.svg \
         ./usr/share/man/man1/saldex-export.1.gz ./usr/share/man/man1/dbftool.1.gz \
         ./usr/share/doc/saldex-export/Korvana.ini.example \
         ./usr/share/doc/saldex-export/copyright; do
  check "package holds $f" has "$f"
done
for p in saldex-export dbftool saldex-demo-data; do
  check "link /usr/bin/$p points into /opt" has "./usr/bin/$p->/opt/saldex-export/bin/$p"
done
check "no settings file is shipped (the administrator writes it)" \
  bash -c "! grep -q 'Korvana.ini\$' '$work/files'"
check "nothing outside /opt and /usr" bash -c "! grep -vE '^\./(opt|usr)(/|$)|^\./$' '$work/files'"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6printsupport6 libxlsxwriter qt6-qpa-plugins fonts-dejavu-core fonts-dejavu-extra zlib1g libc6; do
  check "depends on $d" grep -q "$d" <<< "$depends"
done
check "section office" grep -qx office <<< "$(dpkg-deb -f "$deb" Section)"

mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
check "desktop entry valid" desktop-file-validate "$work/root/usr/share/applications/saldex-export.desktop"
check "desktop entry in category Office" \
  grep -qE '^Categories=.*Office;' "$work/root/usr/share/applications/saldex-export.desktop"
for page in saldex-export dbftool; do
  check "manual page $page renders without warnings" bash -c \
    "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l '$work/root/usr/share/man/man1/$page.1.gz' \
       2>'$work/warn' >/dev/null && ! [ -s '$work/warn' ] || { cat '$work/warn'; false; }"
done
check "installed dbftool answers --version" \
  bash -c "'$work/root/opt/saldex-export/bin/dbftool' --version | grep -qx 'dbftool [0-9.]*'"
check "installed saldex-export answers --version" \
  bash -c "'$work/root/opt/saldex-export/bin/saldex-export' --version | grep -q '^saldex-export [0-9.]*'"

echo "$((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
exit $((failures > 0))
