#!/usr/bin/python3
# Copyright: the corvane-config authors. MIT licence, see LICENSE.
"""Ansible module: applies a CORVANE profile, or named fields, to the
controllers of a host through corvane-cli."""

DOCUMENTATION = r"""
module: corvane_profile
short_description: Apply a profile or named fields to CORVANE LED controllers
description:
  - Applies a profile file, or named fields, to every CORVANE controller attached
    to the host (or to the one named by I(device)) through C(corvane-cli).
  - Asks C(corvane-cli --dry-run) first, so it reports C(changed) only when a value
    differs, supports check mode (nothing is written) and diff mode (field by field).
options:
  profile:
    description: A profile file (.cvn) on the managed host.
    type: path
  fields:
    description: Named fields or tags and their values, as C(corvane-cli set) takes them.
    type: dict
  device:
    description: The serial number of one controller; without it, every controller attached.
    type: str
  cli:
    description: The corvane-cli program.
    type: path
    default: corvane-cli
  extra_args:
    description: Further options for corvane-cli, such as C(--simulate=3).
    type: list
    elements: str
    default: []
"""

EXAMPLES = r"""
- name: Every show PC's controllers run the stage profile
  corvane_profile:
    profile: /etc/corvane/stage.cvn

- name: Half brightness on one controller
  corvane_profile:
    device: A1B2C3
    fields:
      brightness_percent: 50
"""

RETURN = r"""
changes:
  description: Per serial number, the fields that changed (or would change), each with from and to.
  type: dict
  returned: always
"""

import json

from ansible.module_utils.basic import AnsibleModule


def run_cli(module, args):
    """Runs corvane-cli with --json; returns its one document."""
    p = module.params
    command = [p["cli"], "--json"] + p["extra_args"]
    command += ["--device", p["device"]] if p["device"] else ["--all"]
    rc, out, err = module.run_command(command + args)
    try:
        doc = json.loads(out)
    except ValueError:
        module.fail_json(msg="corvane-cli wrote no JSON document: " + err.strip(), rc=rc)
    if not doc["ok"]:
        error = doc["error"]
        module.fail_json(msg=error["message"], error_code=error["code"], rc=rc, result=doc)
    return doc


def value_text(value):
    return str(value).lower() if isinstance(value, bool) else str(value)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            profile=dict(type="path"),
            fields=dict(type="dict"),
            device=dict(type="str"),
            cli=dict(type="path", default="corvane-cli"),
            extra_args=dict(type="list", elements="str", default=[]),
        ),
        mutually_exclusive=[("profile", "fields")],
        required_one_of=[("profile", "fields")],
        supports_check_mode=True,
    )
    p = module.params
    if p["profile"]:
        args = ["load-profile", p["profile"]]
    else:
        args = ["set"] + ["%s=%s" % (name, value_text(value)) for name, value in p["fields"].items()]

    plan = run_cli(module, args[:1] + ["--dry-run"] + args[1:])
    blocks = plan["controllers"] if "controllers" in plan else [plan]
    changes = {b["serial"]: b["changes"] for b in blocks if b["changed"]}
    diff = {
        "before": "".join("%s %s=%s\n" % (s, c["field"], c["from"]) for s, cs in changes.items() for c in cs),
        "after": "".join("%s %s=%s\n" % (s, c["field"], c["to"]) for s, cs in changes.items() for c in cs),
    }
    if changes and not module.check_mode:
        run_cli(module, args)
    module.exit_json(changed=bool(changes), changes=changes, diff=diff)


if __name__ == "__main__":
    main()
