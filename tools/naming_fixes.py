#!/usr/bin/env python3
"""Keeps the renames clang-tidy proposes for names declared under one folder.

clang-tidy always reports the main file's own names too; run over the tests
and benchmarks (so their uses of a renamed name follow it), it would also
rename the tests' own names. This keeps only the diagnostics whose
declaration lies under the folder given, and merges what several files
found for one declaration into one rename.

usage: naming_fixes.py FOLDER IN.yaml... > OUT.yaml
"""
import sys

import yaml


def main():
    folder, inputs = sys.argv[1], sys.argv[2:]
    kept = {}
    for path in inputs:
        with open(path, encoding="utf-8") as f:
            for diag in (yaml.safe_load(f) or {}).get("Diagnostics") or []:
                where = diag["DiagnosticMessage"]
                if not where["FilePath"].startswith(folder):
                    continue
                key = (where["FilePath"], where["FileOffset"], where["Message"])
                merged = kept.setdefault(key, diag)
                spots = {(r["FilePath"], r["Offset"]) for r in merged["DiagnosticMessage"]["Replacements"]}
                for r in where["Replacements"]:
                    if (r["FilePath"], r["Offset"]) not in spots:
                        spots.add((r["FilePath"], r["Offset"]))
                        merged["DiagnosticMessage"]["Replacements"].append(r)
    yaml.safe_dump({"MainSourceFile": "", "Diagnostics": list(kept.values())}, sys.stdout)


if __name__ == "__main__":
    main()
