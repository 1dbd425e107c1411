#!/usr/bin/env python3
"""Validates every line of a tarnwick-repair report against the report's JSON Schema.

Usage: validate_report.py SCHEMA REPORT
Exit status 0 when each line is a JSON object that the schema accepts (and the report has at
least one line); 1 with each fault on standard error otherwise.
"""
import json
import sys

import jsonschema


def main(schema_path, report_path):
    with open(schema_path, encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    validator = jsonschema.Draft202012Validator(schema)
    faults = []
    with open(report_path, encoding="utf-8") as report:
        lines = report.read().split("\n")
    if lines[-1] != "":
        faults.append("the last line has no line end")
    lines = lines[:-1]
    if not lines:
        faults.append("the report is empty")
    for number, line in enumerate(lines, 1):
        try:
            value = json.loads(line)
        except json.JSONDecodeError as error:
            faults.append(f"line {number}: not JSON: {error}")
            continue
        for error in validator.iter_errors(value):
            where = "/".join(str(part) for part in error.absolute_path) or "(the line)"
            faults.append(f"line {number}: {where}: {error.message}")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
