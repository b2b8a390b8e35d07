#!/usr/bin/env bash
# Makes po/brimwell.pot, the catalogue template translators start from, out of the sources:
# every Tr(), TrCtx(), TrPlural(), N_() and NC_() in the C++ sources (not the tests), the desktop
# entry's Name, GenericName, Comment and Keywords, the AppStream metainfo's summary and
# description, and the paragraphs of the Windows README. Then brings each po/<lang>.po up to
# date with it (msgmerge).
#   scripts/update-pot.sh           write po/brimwell.pot and merge it into the catalogues
#   scripts/update-pot.sh --check   fail when po/brimwell.pot or a catalogue is not up to date
#   scripts/update-pot.sh --template-only   write po/brimwell.pot, leave the catalogues alone
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
check=false
merge=true
[ "${1:-}" = "--check" ] && check=true
[ "${1:-}" = "--template-only" ] && merge=false
command -v xgettext >/dev/null || "$here/scripts/install-deps.sh" gettext

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --sort-by-file --no-wrap
        --package-name=Brimwell
        --msgid-bugs-address=translations@brimwell.example
        --copyright-holder="QuenmarRuravavereDaz")

# The program's texts. Tests, benchmarks and fuzz targets show nothing to a user.
git ls-files -- '*.cpp' '*.h' | grep -v -E '^(tests|bench|fuzz)/' >"$tmp/sources"
xgettext "${common[@]}" --language=C++ --keyword= --keyword=Tr --keyword=TrCtx:1c,2 \
    --keyword=TrPlural:1,2 --keyword=N_ --keyword=NC_:1c,2 --flag=Tr:1:c-format \
    --flag=TrPlural:1:c-format --flag=TrPlural:2:c-format \
    --files-from="$tmp/sources" -o "$tmp/program.pot" 2>&1 | grep -v "should not contain the '\\\\r'" >&2 || true
# The desktop entry and the metainfo (gettext's own rules for both formats).
xgettext "${common[@]}" --language=Desktop --keyword= --keyword=Name --keyword=GenericName \
    --keyword=Comment --keyword=Keywords resources/brimwell.desktop -o "$tmp/desktop.pot"
xgettext "${common[@]}" --language=AppData \
    resources/com.quenmarruravaveredaz.brimwell.metainfo.xml.in -o "$tmp/metainfo.pot" 2>/dev/null ||
    xgettext "${common[@]}" --its=/usr/share/gettext/its/metainfo.its \
        resources/com.quenmarruravaveredaz.brimwell.metainfo.xml.in -o "$tmp/metainfo.pot"
pots=("$tmp/program.pot" "$tmp/desktop.pot" "$tmp/metainfo.pot")
if [ -f packaging/windows/README.txt ]; then
    "$here/scripts/readme-po.py" pot packaging/windows/README.txt >"$tmp/readme.pot"
    pots+=("$tmp/readme.pot")
fi
msgcat --no-wrap --use-first "${pots[@]}" -o "$tmp/brimwell.pot" 2>&1 |
    grep -v "should not contain the '\\\\r'" >&2 || true
# The creation date would make every run's template differ: it is the last commit's.
sed -i -e "s/^\"POT-Creation-Date: .*\\\\n\"$/\"POT-Creation-Date: $(git log -1 --format=%cd --date=format:'%Y-%m-%d %H:%M+0000' 2>/dev/null || echo unknown)\\\\n\"/" \
    -e 's/^"Project-Id-Version: .*\\n"$/"Project-Id-Version: Brimwell\\n"/' \
    -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"$/"Content-Type: text\/plain; charset=UTF-8\\n"/' \
    "$tmp/brimwell.pot"

same_entries() { # the entries of two templates, without their headers
    diff -q <(msgcat --no-wrap --sort-output "$1" | sed '1,/^$/d') \
            <(msgcat --no-wrap --sort-output "$2" | sed '1,/^$/d') >/dev/null 2>&1
}

if $check; then
    status=0
    # Where a message stands in the sources (its "#:" lines) moves with every edit around it:
    # the check asks only that the messages and their comments are the sources'.
    messages_of() { grep -v -e '^"POT-Creation-Date' -e '^#: ' "$1"; }
    if ! diff -q <(messages_of "$tmp/brimwell.pot") <(messages_of po/brimwell.pot) >/dev/null; then
        echo "po/brimwell.pot is out of date with the sources: run scripts/update-pot.sh" >&2
        diff <(messages_of po/brimwell.pot) <(messages_of "$tmp/brimwell.pot") | head -40 >&2 || true
        status=1
    fi
    for po in po/*.po; do
        msgmerge --quiet --no-wrap --no-fuzzy-matching "$po" "$tmp/brimwell.pot" -o "$tmp/merged.po"
        if ! diff -q <(messages_of "$po") <(messages_of "$tmp/merged.po") >/dev/null; then
            echo "$po is not merged with the template: run scripts/update-pot.sh" >&2
            status=1
        fi
        untranslated=$(msgattrib --untranslated --no-obsolete "$po" | grep -c '^msgid ' || true)
        fuzzy=$(msgattrib --only-fuzzy --no-obsolete "$po" | grep -c '^msgid ' || true)
        if [ "$untranslated" -gt 0 ] || [ "$fuzzy" -gt 0 ]; then
            # The header is one untranslated-looking entry of msgattrib's output.
            if [ "$untranslated" -gt 1 ] || [ "$fuzzy" -gt 0 ]; then
                echo "$po: $((untranslated > 0 ? untranslated - 1 : 0)) untranslated and $fuzzy fuzzy messages" >&2
                status=1
            fi
        fi
        msgfmt --check --check-accelerators=\& --output-file=/dev/null "$po" || status=1
    done
    [ $status -eq 0 ] && echo "po: the template and $(ls po/*.po | wc -l) catalogues are up to date and complete"
    exit $status
fi

cp "$tmp/brimwell.pot" po/brimwell.pot
$merge || exit 0
for po in po/*.po; do
    [ -e "$po" ] || continue
    msgmerge --quiet --update --backup=none --no-wrap --no-fuzzy-matching "$po" po/brimwell.pot
done
echo "po/brimwell.pot: $(grep -c '^msgid ' po/brimwell.pot) entries (with the header)"
