#!/usr/bin/env python3
"""Builds the embedded language project from its readable table.

The table (resources/i18n/language_project.txt) lists identifier, English and
German text per entry. The output is the project as the program's writer
would save it without meta data: UTF-16LE without byte-order mark, every line
ended by CR LF, one empty line after each section and each entry.

Usage: make_language_project.py [TABLE [OUTPUT]]
       make_language_project.py --check   (exit 1 when OUTPUT is out of date)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_TABLE = os.path.join(ROOT, "resources", "i18n", "language_project.txt")
DEFAULT_OUTPUT = os.path.join(ROOT, "resources", "i18n", "VOXTRALANGNEUES PROJEKT")
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


def render(entries):
    lines = ["[settings]", "version=1", "name=Neues Projekt", "primarylanguage=en", "",
             "[languages]", "id=en", "id=de", "", "[entries]"]
    for identifier, english, german in entries:
        lines += ["text_id=" + identifier, "text_en=" + english, "text_de=" + german, ""]
    return "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    table = args[0] if args else DEFAULT_TABLE
    output = args[1] if len(args) > 1 else DEFAULT_OUTPUT
    entries = read_table(table)
    if len(entries) != EXPECTED_ENTRIES:
        sys.exit(f"{table}: {len(entries)} entries, expected {EXPECTED_ENTRIES}")
    data = render(entries)
    if check:
        with open(output, "rb") as existing:
            if existing.read() != data:
                sys.exit(f"{output} is out of date; run {sys.argv[0]}")
        return
    with open(output, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
