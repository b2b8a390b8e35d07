#!/usr/bin/env bash
# Fails, naming the file and line, when an #include runs against the layers of the house.
#   scripts/check-layers.sh [ROOT]     check the tree at ROOT (default: this repository)
#   scripts/check-layers.sh --self-test
#                                      plant a break in a copy of the tree and make sure it is caught
#
# The layers, from the bottom up; a folder may include its own layer and those below it:
#   resources, text       templates, strings, pictures; UTF, RTF, addresses, hex digits
#   platform              operating-system services (platform/linux, platform/windows, platform/fake)
#   ui                    the dialog interface the window logic is written on
#   printer               the page base, the job transport, printer identification
#   logo tester maintenance info   the subsystems (core and page logic); each uses printer
#   draw                  drawing the label preview without widgets (QtGui or GDI; hosts, companion)
#   hosts/qt hosts/win32 hosts/fake   the window hosts; none includes another
#   app, cli              the programs; the companion (cli) includes no window host and no app/
# Besides, nothing below the hosts includes a window toolkit (Qt Widgets or windows.h) outside
# platform/ and draw/.
# tests/, bench/ and fuzz/ stand outside the layers.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--self-test" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    (cd "$here" && git ls-files -z -- '*.cpp' '*.h' | xargs -0 cp --parents -t "$tmp")
    "$0" "$tmp" >/dev/null || { echo "check-layers self-test: the tree as it is fails"; exit 1; }
    # One planted break per rule: each must fail and name its file and line.
    plants=(
        "platform/Profile.h:#include \"ui/Dialog.h\""
        "ui/Dialog.h:#include \"logo/LabelPreview.h\""
        "logo/LabelPreview.h:#include \"hosts/qt/QtDialog.h\""
        "tester/ConfigJob.h:#include \"logo/LogoJob.h\""
        "printer/PrinterJob.h:#include \"app/CBrimwellDlg.h\""
        "cli/Commands.h:#include \"hosts/win32/WinDialog.h\""
        "hosts/fake/FakeDialog.h:#include \"hosts/qt/QtDialog.h\""
        "text/Utf.h:#include \"platform/Profile.h\""
        "maintenance/FirmwareFilter.h:#include <QWidget>"
    )
    for plant in "${plants[@]}"; do
        file=${plant%%:*}
        line=${plant#*:}
        cp "$tmp/$file" "$tmp/$file.orig"
        printf '%s\n' "$line" >>"$tmp/$file"
        at="$file:$(wc -l <"$tmp/$file")"
        if out=$("$0" "$tmp" 2>&1); then
            echo "check-layers self-test: a planted '$line' in $file was not caught"
            exit 1
        fi
        if ! grep -qF "$at:" <<<"$out"; then
            echo "check-layers self-test: the report does not name $at:"
            echo "$out"
            exit 1
        fi
        mv "$tmp/$file.orig" "$tmp/$file"
    done
    echo "check-layers self-test: ${#plants[@]} planted breaks caught"
    exit 0
fi

root=${1:-$here}
cd "$root"

# The layer of a file or of an included path, into RANK (from the bottom; empty for a path
# outside the layers, such as a system header) and NAME.
layer_of() {
    RANK=""
    NAME=${1%%/*}
    case "$1" in
    resources/* | text/*) RANK=0 NAME=base ;;
    platform/*) RANK=1 ;;
    ui/*) RANK=2 ;;
    printer/*) RANK=3 ;;
    logo/* | tester/* | maintenance/* | info/*) RANK=4 ;;
    draw/*) RANK=5 ;;
    hosts/*/*)
        RANK=6
        NAME=${1#hosts/}
        NAME=hosts/${NAME%%/*}
        ;;
    app/* | cli/*) RANK=7 ;;
    esac
}

# The one include that runs against the folders by design: the page base fills its tester
# list from the tester catalogue, which belongs to the tester subsystem above it.
allowed_exception() {
    [ "$1" = "printer/CFuncDlg.cpp" ] && [ "$2" = "tester/TesterCatalogue.h" ]
}

status=0
report() {
    echo "$1: $2"
    status=1
}

while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    lineno=${rest%%:*}
    line=${rest#*:}
    layer_of "$file"
    rank=$RANK name=$NAME
    case "$line" in
    '#include "'*)
        inc=${line#'#include "'}
        inc=${inc%%'"'*}
        layer_of "$inc"
        irank=$RANK iname=$NAME
        [ -n "$irank" ] || continue
        allowed_exception "$file" "$inc" && continue
        if [ "$irank" -gt "$rank" ]; then
            report "$file:$lineno" "includes \"$inc\": $name may not include $iname, a layer above it"
        elif [ "$irank" -eq "$rank" ] && [ "$iname" != "$name" ]; then
            report "$file:$lineno" "includes \"$inc\": $name and $iname stand side by side: neither includes the other"
        elif [ "$name" = cli ] && [[ "$iname" == hosts/* ]]; then
            report "$file:$lineno" "includes \"$inc\": the companion includes no window host"
        fi
        ;;
    '#include <'*)
        # Window toolkits stay in the hosts, the programs, the drawing and the services.
        if [ "$rank" -le 4 ] && [ "$name" != platform ] && [[ "$file" != resources/* ]]; then
            case "$line" in
            '#include <Q'* | '#include <windows.h>'* | '#include <commctrl.h>'* | '#include <richedit.h>'*)
                report "$file:$lineno" "includes a window toolkit (${line#'#include '}): only hosts, draw/, platform/ and the programs may"
                ;;
            esac
        fi
        ;;
    esac
done < <(find resources text platform ui printer logo tester maintenance info draw hosts app cli \
    \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null | sort -z |
    xargs -0 grep -Hn '^[[:space:]]*#[[:space:]]*include' | sed 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*/:#include /')

if [ $status -ne 0 ]; then
    echo "check-layers: includes run against the layers (see scripts/check-layers.sh)" >&2
fi
exit $status
