#!/usr/bin/env python3
"""Runs every corvane-cli command with --json in four situations (no
controller, one simulated controller, --all over three with one failing, a
usage error) and checks that each run writes exactly one document that
matches docs/corvane-cli.schema.json and states the process's exit code;
watch writes one compact document per line, its last one too.

Usage: check_json_schema.py CORVANE_CLI SCHEMA
"""
import json
import os
import signal
import subprocess
import sys
import tempfile

import jsonschema

FLEET = {"info", "get", "set", "load-profile", "restart", "test-pattern", "reset-defaults"}


def main(cli, schema_path):
    with open(schema_path, encoding="utf-8") as f:
        validator = jsonschema.Draft202012Validator(json.load(f))
    with tempfile.TemporaryDirectory() as tmp:
        # Locks and sockets of its own, apart from tests running beside it.
        os.environ["XDG_RUNTIME_DIR"] = tmp
        profile = os.path.join(tmp, "p.cvn")
        commands = [["list"], ["info"], ["get", "BRIG", "led.protocol"], ["set", "brightness_percent=150"],
                    ["set", "--dry-run", "brightness_percent=120"], ["describe"], ["save-profile", profile],
                    ["load-profile", profile], ["load-profile", "--dry-run", profile], ["test-pattern"],
                    ["reset-defaults"], ["restart"]]
        sim = ["--simulate-state", os.path.join(tmp, "state.json")]
        situations = {
            "none": [],
            "one": ["--simulate"] + sim,
            "all": ["--simulate=3"] + sim + ["--simulate-faults", "SIM0002:fail-after=1", "--all"],
            "usage": ["--simulate"] + sim + ["--bogus"],
        }
        failures = 0
        runs = 0
        for situation, options in situations.items():
            for command in commands:
                if situation == "all" and command[0] not in FLEET:
                    continue
                args = [cli, "--json"] + options + command
                done = subprocess.run(args, capture_output=True, text=True, timeout=60)
                failures += check(validator, args, done.stdout, done.returncode)
                runs += 1
        watch = subprocess.Popen([cli, "--json", "--simulate"] + sim + ["watch"], stdout=subprocess.PIPE, text=True)
        first = watch.stdout.readline()
        watch.send_signal(signal.SIGTERM)
        lines = [first] + watch.stdout.readlines()
        for line in lines:
            failures += check(validator, ["watch"], line, None, compact=True)
        runs += 1
    print(f"{runs} runs checked, {failures} documents wrong")
    return 1 if failures else 0


def check(validator, args, out, code, compact=False):
    try:
        doc = json.loads(out)
    except ValueError as e:
        print("FAIL", " ".join(args[1:]), "-> not one JSON document:", e, repr(out[:200]), file=sys.stderr)
        return 1
    problems = [e.message[:200] for e in validator.iter_errors(doc)]
    if code is not None and doc.get("exit_code") != code:
        problems.append(f"exit_code {doc.get('exit_code')} but the process exited {code}")
    if compact and out != json.dumps(doc, separators=(",", ":"), ensure_ascii=False) + "\n":
        problems.append("not one compact line")
    for p in problems:
        print("FAIL", " ".join(args[1:]), "->", p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
