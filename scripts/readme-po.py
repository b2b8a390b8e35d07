#!/usr/bin/env python3
"""The Windows README.txt in the catalogues: its paragraphs (runs of lines between blank
lines, kept with their line breaks and spacing) are messages, so translators never edit the
file itself.

    scripts/readme-po.py pot README.txt               the paragraphs as a template, on stdout
    scripts/readme-po.py translate README.txt LANG.mo  the README in that language, on stdout
                                                       (a paragraph without translation stays)
"""
import gettext
import sys


def paragraphs(path):
    text = open(path, encoding="utf-8").read()
    return [p for p in text.strip("\n").split("\n\n")]


def quote(text):
    text = text.replace("\\", "\\\\").replace('"', '\\"')
    lines = text.split("\n")
    if len(lines) == 1:
        return '"%s"' % lines[0]
    return '""\n' + "\n".join('"%s\\n"' % l for l in lines[:-1]) + '\n"%s"' % lines[-1]


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "pot":
        out = ['msgid ""', 'msgstr ""', '"Content-Type: text/plain; charset=UTF-8\\n"', ""]
        for i, p in enumerate(paragraphs(path)):
            out.append("#. TRANSLATORS: a paragraph of README.txt in the Windows packages; keep "
                       "its line breaks, lines of at most 88 characters.")
            out.append("#: %s:%d" % (path, i + 1))
            out.append("msgid " + quote(p))
            out.append('msgstr ""')
            out.append("")
        sys.stdout.write("\n".join(out))
    elif mode == "translate":
        with open(sys.argv[3], "rb") as mo:
            catalogue = gettext.GNUTranslations(mo)
        sys.stdout.write("\n\n".join(catalogue.gettext(p) for p in paragraphs(path)) + "\n")
    else:
        sys.exit("usage: readme-po.py pot README | translate README CATALOGUE.mo")


if __name__ == "__main__":
    main()
