#!/usr/bin/env python3
"""Builds the embedded language project from its readable table.

The table (resources/i18n/language_project.txt) lists identifier, English and
German text per entry. The output is the project as the program's writer
would save it without meta data: UTF-16LE without byte-order mark, every line
ended by CR LF, one empty line after each section and each entry.

The texts added to the program since the project was fixed at 80 entries
live in a second table (resources/i18n/language_additions.txt) and a second
project ("VOXTRALANGZUSAETZE"), which the language manager loads beside
the first; the first stays exactly as it is.

Usage: make_language_project.py [TABLE [OUTPUT]]
       make_language_project.py --additions   (the second table and project)
       make_language_project.py --check       (exit 1 when an OUTPUT is out of date)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_TABLE = os.path.join(ROOT, "resources", "i18n", "language_project.txt")
DEFAULT_OUTPUT = os.path.join(ROOT, "resources", "i18n", "VOXTRALANGNEUES PROJEKT")
ADDITIONS_TABLE = os.path.join(ROOT, "resources", "i18n", "language_additions.txt")
ADDITIONS_OUTPUT = os.path.join(ROOT, "resources", "i18n", "VOXTRALANGZUSAETZE")
FIELD = re.compile(r'"([^"]*)"')
EXPECTED_ENTRIES = 80


def read_table(path):
    entries = []
    with open(path, encoding="utf-8") as table:
        for number, raw in enumerate(table, 1):
            line = raw.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            texts = [FIELD.fullmatch(f) for f in fields]
            if len(fields) != 3 or not all(texts):
                sys.exit(f"{path}:{number}: expected three quoted texts separated by tabs")
            values = [t.group(1) for t in texts]
            if any("\r" in v or "\n" in v for v in values):
                sys.exit(f"{path}:{number}: write line breaks as \\r\\n escapes")
            entries.append(values)
    return entries


def render(entries, name="Neues Projekt"):
    lines = ["[settings]", "version=1", "name=" + name, "primarylanguage=en", "",
             "[languages]", "id=en", "id=de", "", "[entries]"]
    for identifier, english, german in entries:
        lines += ["text_id=" + identifier, "text_en=" + english, "text_de=" + german, ""]
    return "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def build(table, output, check, name, expected=None):
    entries = read_table(table)
    if expected is not None and len(entries) != expected:
        sys.exit(f"{table}: {len(entries)} entries, expected {expected}")
    data = render(entries, name)
    if check:
        with open(output, "rb") as existing:
            if existing.read() != data:
                sys.exit(f"{output} is out of date; run {sys.argv[0]}")
        return
    with open(output, "wb") as out:
        out.write(data)


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a not in ("--check", "--additions")]
    if "--additions" in argv or (check and not args):
        build(ADDITIONS_TABLE, ADDITIONS_OUTPUT, check, "Zusaetze")
        if "--additions" in argv:
            return
    table = args[0] if args else DEFAULT_TABLE
    output = args[1] if len(args) > 1 else DEFAULT_OUTPUT
    build(table, output, check, "Neues Projekt", EXPECTED_ENTRIES)


if __name__ == "__main__":
    main(sys.argv[1:])
