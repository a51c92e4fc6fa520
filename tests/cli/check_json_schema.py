#!/usr/bin/env python3
"""Runs corvane-cli with --json over simulated controllers and checks every
document it writes against docs/corvane-cli.schema.json.

Usage: check_json_schema.py CORVANE_CLI SCHEMA
"""
import json
import os
import signal
import subprocess
import sys
import tempfile

import jsonschema


def main(cli, schema_path):
    with open(schema_path, encoding="utf-8") as f:
        validator = jsonschema.Draft202012Validator(json.load(f))
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        # Locks and sockets of its own, apart from tests running beside it.
        os.environ["XDG_RUNTIME_DIR"] = tmp
        state = os.path.join(tmp, "state.json")
        profile = os.path.join(tmp, "p.cvn")
        base = [cli, "--json", "--simulate=2", "--simulate-state", state]
        one = base + ["--device", "SIM0001"]
        runs = [
            base + ["list"], one + ["info"], one + ["get"], one + ["get", "--fields"],
            one + ["get", "BRIG", "led.protocol"], one + ["set", "brightness_percent=150", "SCFG=0x80100"],
            base + ["describe"], one + ["save-profile", profile], one + ["load-profile", profile],
            one + ["test-pattern"], one + ["reset-defaults"], one + ["restart"],
            base + ["--all", "info"], base + ["--all", "set", "led.protocol=apa106"],
            base + ["get"],                                   # several controllers, no --device
            one + ["set", "brightness_percent=999"],          # usage error
            base + ["--device", "SIM0009", "info"],           # no such controller
            base + ["--simulate-faults", "SIM0002:refuse-write=BRIG:0xC4", "--all", "set", "BRIG=7"],
        ]
        documents = []
        for args in runs:
            out = subprocess.run(args, capture_output=True, text=True, timeout=60).stdout
            documents.append((args, json.loads(out)))
        watch = subprocess.Popen(base + ["watch"], stdout=subprocess.PIPE, text=True)
        for _ in range(2):
            line = watch.stdout.readline()
            documents.append((["watch"], json.loads(line)))
        watch.send_signal(signal.SIGTERM)
        watch.wait(timeout=30)
        for args, doc in documents:
            errors = sorted(validator.iter_errors(doc), key=str)
            if errors:
                failures += 1
                best = jsonschema.exceptions.best_match(errors)
                print("FAIL", " ".join(args[1:]), "at", list(best.absolute_path), "->", best.message[:200],
                      file=sys.stderr)
    print(f"{len(documents)} documents checked, {failures} not matching the schema")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
