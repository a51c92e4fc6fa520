#!/usr/bin/env python3
"""Runs the Ansible module against simulated controllers on localhost, with
named fields and then with a profile: check mode changes nothing, the first
run reports changes, the second none.

Usage: check_ansible_module.py CORVANE_CLI SOURCE_DIR
"""
import os
import re
import subprocess
import sys
import tempfile


def main(cli, source):
    with tempfile.TemporaryDirectory() as tmp:
        # Ansible refuses to start without a locale that exists; C.UTF-8 always does.
        env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", XDG_RUNTIME_DIR=tmp, HOME=tmp, ANSIBLE_LOCAL_TEMP=tmp,
                   ANSIBLE_LIBRARY=os.path.join(source, "contrib", "ansible"), ANSIBLE_NOCOLOR="1")
        state = os.path.join(tmp, "state.json")
        profile = os.path.join(tmp, "stage.cvn")
        # The profile: the fields below, and the stripe mirrored.
        other = [cli, "--simulate", "--simulate-state", os.path.join(tmp, "other.json")]
        subprocess.run(other + ["set", "stripe.mirror=on", "brightness_percent=150", "led.protocol=apa106"],
                       check=True, env=env, capture_output=True)
        subprocess.run(other + ["save-profile", profile], check=True, env=env, capture_output=True)

        fields = '{"fields": {"brightness_percent": 150, "LED.Protocol": "apa106"}}'
        by_profile = f'{{"profile": "{profile}"}}'

        def play(task, *options):
            done = subprocess.run(["ansible-playbook", "-c", "local", "-i", "localhost,",
                                   "-e", f"cli={cli} state={state}", "-e", task,
                                   "-e", "ansible_python_interpreter=/usr/bin/python3",
                                   *options, os.path.join(source, "tests", "contrib", "corvane_profile.yml")],
                                  env=env, capture_output=True, text=True, timeout=300)
            recap = re.search(r"localhost\s*: ok=(\d+)\s+changed=(\d+).*failed=(\d+)", done.stdout)
            if not recap:
                print(done.stdout, done.stderr, file=sys.stderr)
                return None, done.stdout
            return tuple(int(n) for n in recap.groups()), done.stdout

        def held(value):
            done = subprocess.run([cli, "--simulate=3", "--simulate-state", state, "--all", "get",
                                   value.split("=")[0]], env=env, capture_output=True, text=True)
            return done.stdout.count("\n" + value + "\n")

        failures = 0
        checks = [("check mode", fields, ("--check", "--diff"), (1, 1, 0), "brightness_percent=100"),
                  ("first run", fields, (), (1, 1, 0), "brightness_percent=150"),
                  ("second run", fields, (), (1, 0, 0), "brightness_percent=150"),
                  ("profile", by_profile, (), (1, 1, 0), "stripe.mirror=on"),
                  ("profile again", by_profile, (), (1, 0, 0), "stripe.mirror=on")]
        for name, task, options, expected, value in checks:
            recap, out = play(task, *options)
            problems = []
            if recap != expected:
                problems.append(f"recap ok/changed/failed {recap}, expected {expected}")
            if held(value) != 3:
                problems.append(f"{held(value)} controllers hold {value}, expected 3")
            if "--diff" in options and "+SIM0003 brightness_percent=150" not in out:
                problems.append("the diff does not show the fields")
            for p in problems:
                print("FAIL", name, "->", p, file=sys.stderr)
            failures += len(problems)
    print(f"{len(checks)} playbook runs, {failures} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
