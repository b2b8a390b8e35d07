#!/usr/bin/env bash
# Screenshot of the real window under Xvfb with function row ROW selected.
#   scripts/screenshot.sh ROW OUT.png [BUILD_DIR]
# Extra environment (for example a umockdev testbed) passes through to the program.
# Optional steps once the row is selected, to show a page in use:
#   SCREENSHOT_CLICK='X Y'        click at X, Y of the window (for example into an edit)
#   SCREENSHOT_TYPE='text'        type the text (for example a logo file's path)
#   SCREENSHOT_KEYS='Tab space'   press these keys (xdotool key names)
set -euo pipefail
row=$1
out=$2
build=${3:-build}
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1400x900x24" bash -c "
  '$build/app/brimwell' & pid=\$!
  for i in \$(seq 50); do id=\$(xdotool search --name '^Brimwell\$' 2>/dev/null | head -1) && [ -n \"\$id\" ] && break; sleep 0.1; done
  sleep 0.5
  # Rows of the function list are about 13 pixels apart, starting 30 pixels down.
  xdotool mousemove --window \$id 40 \$((32 + $row * 13)) click 1
  sleep 0.5
  if [ -n \"\${SCREENSHOT_CLICK:-}\" ]; then xdotool mousemove --window \$id \$SCREENSHOT_CLICK click 1; sleep 0.3; fi
  if [ -n \"\${SCREENSHOT_TYPE:-}\" ]; then xdotool type --delay 20 \"\$SCREENSHOT_TYPE\"; sleep 0.3; fi
  if [ -n \"\${SCREENSHOT_KEYS:-}\" ]; then xdotool key --delay 100 \$SCREENSHOT_KEYS; sleep 0.3; fi
  import -window \$id '$out'
  kill \$pid
"
