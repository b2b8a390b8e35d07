#!/usr/bin/env python3
"""Makes the pseudo-language catalogue from the template: every text 40 % longer, its letters
accented and the whole in brackets ("[Ŝéñð Ļöĝö··]"), so that a text the program shows without
the catalogue, a text cut off by its control or one built from pieces stands out. Kept as they
are: printf conversions, escapes, access-key ampersands, <b> marks and the patterns of file
filters ("Logo files (*.bmp)|*.bmp||" keeps "*.bmp").

    scripts/pseudo-po.py TEMPLATE.pot OUT.po
"""
import math
import re
import sys

ACCENTED = dict(zip(
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "åƀçđéƒĝĥîĵķļɱñöþǫŕšţûṽŵẋýžÅƁÇĐÉƑĜĤÎĴĶĻṀÑÖÞǪŔŠŢÛṼŴẊÝŽ"))
# What is copied whole: a printf conversion, a C escape, "&&", an access key's "&", <b> marks.
KEEP = re.compile(r'%(?:\d+\$)?[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|z)?[diouxXcsfeg%]|\\.|&&|&|</?b>')


def accent(text):
    out, at = [], 0
    for m in KEEP.finditer(text):
        out.append("".join(ACCENTED.get(c, c) for c in text[at:m.start()]))
        out.append(m.group(0))
        at = m.end()
    out.append("".join(ACCENTED.get(c, c) for c in text[at:]))
    return "".join(out)


def visible_length(text):
    return len(KEEP.sub("x", text))


def pseudo(text):
    if not text:
        return text
    if "|" in text and text.endswith("||"):  # a file filter: descriptions only
        parts = text.split("|")
        return "|".join(pseudo(p) if i % 2 == 0 and p else p for i, p in enumerate(parts))
    padding = max(1, math.ceil(visible_length(text) * 0.4) - 2)
    return "[" + accent(text) + "·" * padding + "]"


def unquote(lines):
    return "".join(re.match(r'^(?:msgid|msgid_plural|msgstr(?:\[\d\])?|msgctxt)?\s*"(.*)"$', l).group(1)
                   for l in lines)


def main():
    source, target = sys.argv[1], sys.argv[2]
    entries, current, key = [], {}, None
    for line in open(source, encoding="utf-8").read().split("\n"):
        m = re.match(r'^(msgctxt|msgid_plural|msgid|msgstr(?:\[\d\])?) "', line)
        if m:
            key = m.group(1)
            if key in ("msgctxt",) or (key == "msgid" and "msgid" in current):
                pass
            current.setdefault(key, []).append(line)
        elif line.startswith('"') and key:
            current[key].append(line)
        elif not line.strip():
            if current:
                entries.append(current)
            current, key = {}, None
        elif line.startswith("#,") and "fuzzy" in line:
            current["fuzzy"] = True
    if current:
        entries.append(current)
    out = ['msgid ""', 'msgstr ""', '"Project-Id-Version: Brimwell\\n"',
           '"PO-Revision-Date: 2026-01-01 00:00+0000\\n"', '"Last-Translator: none\\n"',
           '"Language-Team: none\\n"', '"MIME-Version: 1.0\\n"',
           '"Content-Type: text/plain; charset=UTF-8\\n"', '"Content-Transfer-Encoding: 8bit\\n"',
           '"Language: qps\\n"', '"Plural-Forms: nplurals=2; plural=(n != 1);\\n"', ""]
    for e in entries:
        msgid = unquote(e.get("msgid", []))
        if not msgid:
            continue
        if "msgctxt" in e:
            out.append('msgctxt "%s"' % unquote(e["msgctxt"]))
        out.append('msgid "%s"' % msgid)
        if "msgid_plural" in e:
            plural = unquote(e["msgid_plural"])
            out.append('msgid_plural "%s"' % plural)
            out.append('msgstr[0] "%s"' % pseudo(msgid))
            out.append('msgstr[1] "%s"' % pseudo(plural))
        else:
            out.append('msgstr "%s"' % pseudo(msgid))
        out.append("")
    open(target, "w", encoding="utf-8").write("\n".join(out))


if __name__ == "__main__":
    main()
