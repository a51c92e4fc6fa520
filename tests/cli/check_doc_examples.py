#!/usr/bin/env python3
"""Runs every corvane-cli example of the README and the manual pages, in
order, against simulated controllers that keep one state file, and checks
that each does what the text shows: the lines printed after a "$ " example
("..." skips lines), exit code 0 unless the shown lines are all messages.

Usage: check_doc_examples.py CORVANE_CLI SOURCE_DIR
"""
import os
import re
import signal
import subprocess
import sys
import tempfile


def readme_examples(path):
    """(command, shown lines) from the indented blocks; a "$ " example is
    followed by what it prints, up to the next command or the block's end."""
    examples, shown = [], None
    for line in open(path, encoding="utf-8"):
        text = line[4:].rstrip("\n") if line.startswith("    ") else None
        command = re.sub(r"^\$ ", "", text or "")
        if command.startswith("corvane-cli") and "[" not in command and " | " not in command:
            examples.append((re.sub(r"\s+#.*$", "", command), []))
            shown = examples[-1][1] if text.startswith("$ ") else None
        elif text and shown is not None and not text.startswith("$ "):
            shown.append(text)
        else:
            shown = None
    return examples


def man_examples(path):
    text = open(path, encoding="utf-8").read()
    if ".SH EXAMPLES" not in text:
        return []
    section = text[text.index(".SH EXAMPLES"):]
    section = section[:section.index(".SH", 3)]
    return [(line.replace("\\-", "-"), []) for line in section.splitlines() if line.startswith("corvane\\-cli")]


def run(example, env, cwd):
    command, shown = example
    options = "--simulate-state state.json"
    if "--simulate" not in command:
        options += " --simulate=3" if re.search(r"--all|--device", command) else " --simulate"
    line = command.replace("corvane-cli", "corvane-cli " + options, 1)
    if " watch" in command:
        p = subprocess.Popen("exec " + line, shell=True, cwd=cwd, env=env, stdout=subprocess.PIPE, text=True)
        first = p.stdout.readline()
        p.send_signal(signal.SIGTERM)
        p.wait(timeout=30)
        return [] if first and p.returncode == 0 else [f"watch wrote {first!r}, exit {p.returncode}"]
    done = subprocess.run(line, shell=True, cwd=cwd, env=env, capture_output=True, text=True, timeout=60)
    out = [" ".join(l.split()) for l in done.stdout.splitlines()]
    err = [" ".join(l.split()) for l in done.stderr.splitlines()]
    expected = [" ".join(l.split()) for l in shown if l.strip() != "..."]
    problems = [f"does not print {l!r}" for l in expected if l not in out + err]
    messages_only = expected and all(l in err for l in expected)
    if (done.returncode != 0) != bool(messages_only):
        problems.append(f"exit code {done.returncode}: {done.stderr.strip()[:200]}")
    return problems


def main(cli, source):
    examples = readme_examples(os.path.join(source, "README.md"))
    for page in ("corvane-cli.1", "corvane-config.1"):
        examples += man_examples(os.path.join(source, "docs", "man", page))
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, XDG_RUNTIME_DIR=tmp, PATH=os.path.dirname(cli) + os.pathsep + os.environ["PATH"])
        subprocess.run([cli, "--simulate", "--simulate-state", "stage.json", "save-profile", "stage.cvn"],
                       cwd=tmp, env=env, check=True, capture_output=True)
        for example in examples:
            for p in run(example, env, tmp):
                print("FAIL", example[0], "->", p, file=sys.stderr)
                failures += 1
    print(f"{len(examples)} examples run, {failures} problems")
    return 1 if failures or not examples else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
