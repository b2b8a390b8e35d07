#!/usr/bin/env bash
# Screenshot of the Windows window (brimwell.exe) under Wine and Xvfb with function row ROW
# selected (reached with the Down key from the first row, which has the focus at start).
#   scripts/screenshot-wine.sh ROW OUT.png [BUILD_DIR]
# BUILD_DIR is the Windows build (default build-windows, made by scripts/build-windows.sh,
# whose Wine prefix it uses).
set -euo pipefail
row=$1
out=$2
build=${3:-build-windows}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
case $out in /*) ;; *) out="$PWD/$out" ;; esac
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all
xvfb-run -a -s "-screen 0 1400x900x24" bash -c "
  wine '$build/app/brimwell.exe' & pid=\$!
  for i in \$(seq 100); do id=\$(xdotool search --name '^Brimwell\$' 2>/dev/null | head -1) && [ -n \"\$id\" ] && break; sleep 0.2; done
  sleep 1
  for i in \$(seq $row); do xdotool key --window \$id Down; sleep 0.1; done
  sleep 0.7
  import -window \$id '$out'
  kill \$pid
  wineserver -k 2>/dev/null || true
"
