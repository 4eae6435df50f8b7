#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what an installed program needs: the file
# list, the menu entry (desktop-file-validate), the file type of nets (xmllint), and that the
# installed editor starts with a sample net and shows its window under a virtual screen.
#   scripts/install-check.sh [BUILD_DIR]    (default build/test, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
  bin/kvl-editor bin/kvl-sim bin/kvl-render bin/kvl-convert
  share/applications/kvl-editor.desktop
  share/mime/packages/kvl-editor.xml
  share/icons/hicolor/scalable/apps/kvl-editor.svg
  share/man/man1/kvl-editor.1 share/man/man1/kvl-sim.1 share/man/man1/kvl-render.1
  share/man/man1/kvl-convert.1
  share/kvl-editor/examples/queue.kvl share/kvl-editor/examples/production_line.kvl
  share/kvl-editor/examples/conflict.kvl share/kvl-editor/examples/formulas.kvl
  share/kvl-editor/examples/cluster/parallel-study.sh
  share/doc/kvl-editor/guide/index.md share/doc/kvl-editor/guide/images/editor.png
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/kvl-editor.png")
done
status=0
for file in "${expected[@]}"; do
  if [ ! -s "$prefix/$file" ]; then
    echo "install-check: missing $file" >&2
    status=1
  fi
done
for program in kvl-editor kvl-sim kvl-render kvl-convert; do
  [ -x "$prefix/bin/$program" ] || { echo "install-check: $program is not executable" >&2; status=1; }
done
# Nothing of the build or the tests is installed.
if find "$prefix" -name '*_tests' -o -name '*.a' -o -name 'KVLConfig.ini' | grep -q .; then
  echo "install-check: unexpected files installed:" >&2
  find "$prefix" -name '*_tests' -o -name '*.a' -o -name 'KVLConfig.ini' >&2
  status=1
fi
[ "$status" -eq 0 ] || exit "$status"

desktop-file-validate --no-hints "$prefix/share/applications/kvl-editor.desktop"
xmllint --noout "$prefix/share/mime/packages/kvl-editor.xml"
grep -q 'MimeType=application/x-kvl-net;' "$prefix/share/applications/kvl-editor.desktop"
grep -q 'type="application/x-kvl-net"' "$prefix/share/mime/packages/kvl-editor.xml"
"$prefix/bin/kvl-sim" --version | grep -q '^kvl-sim '
"$prefix/bin/kvl-sim" "$prefix/share/kvl-editor/examples/queue.kvl" --interval 10 --seed 1 >/dev/null

# The installed editor with a sample net: its window must appear with the net's name in the
# caption. It keeps its settings in the (temporary) configuration folder, not beside itself.
xvfb-run -a -s "-screen 0 1280x800x24" env -u KVL_CONFIG -u QT_QPA_PLATFORM HOME="$home" \
  XDG_CONFIG_HOME="$home/config" bash -c '
    "$1/bin/kvl-editor" "$1/share/kvl-editor/examples/queue.kvl" &
    editor=$!
    found=
    for _ in $(seq 60); do
      if xwininfo -root -tree | grep -q "queue.kvl"; then found=1; break; fi
      sleep 0.1
    done
    kill "$editor" 2>/dev/null; wait "$editor" 2>/dev/null
    [ -n "$found" ] || { echo "install-check: no editor window showing queue.kvl" >&2; exit 1; }
  ' _ "$prefix"
if [ -e "$prefix/bin/KVLConfig.ini" ]; then
  echo "install-check: the installed editor wrote its settings beside itself" >&2
  exit 1
fi
echo "install-check: the install into a temporary prefix is complete and starts"
