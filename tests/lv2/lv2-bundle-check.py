#!/usr/bin/env python3
"""lv2-bundle-check.py LV2_BUNDLE KELDRA_RENDER VST3_BUNDLE: the Turtle files
validate with lv2_validate, and lv2info (through lilv, as hosts read the
bundle) shows the stereo audio ports, one control per parameter with the
name, range and default the VST3 build publishes, the effect's bypass as a
toggle, the oversampling switch as an enumeration, the host bypass as the
lv2:enabled port, the factory presets the VST3 build lists (their values are
the format test's), and the maker as the author hosts list."""
import glob
import os
import re
import subprocess
import sys
import tempfile

LV2 = "http://lv2plug.in/ns/lv2core#"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def lv2info_ports(bundle):
    # lilv reads every bundle in LV2_PATH: give it this one alone.
    with tempfile.TemporaryDirectory() as path:
        os.symlink(os.path.abspath(bundle), os.path.join(path, "keldra.lv2"))
        text = subprocess.run(["lv2info", "urn:brackenfold:keldra"], env=dict(os.environ, LV2_PATH=path),
                              capture_output=True, text=True, check=True).stdout
    author = re.search(r"^\tAuthor:\s+(.*)$", text, re.M)
    # The preset labels follow "Presets:", one a line, up to the first empty line.
    presets = text.split("Presets:", 1)[1].split("\n\n", 1)[0].split("\n") if "Presets:" in text else []
    presets = [label.strip() for label in presets if label.strip()]
    ports = {}
    for index, body in re.findall(r"Port (\d+):\n(.*?)(?=\n\tPort \d+:|\Z)", text, re.S):
        port = {"types": re.findall(r"lv2core#(\w+Port)", body),
                "properties": re.findall(r"lv2core#(toggled|integer|enumeration)", body),
                "scale": re.findall(r'(\d+) = "(.*)"', body)}
        for key in ("Symbol", "Name", "Minimum", "Maximum", "Default", "Designation"):
            found = re.search(rf"{key}:\s+(\S+)", body)
            port[key] = found.group(1) if found else None
        ports[int(index)] = port
    return ports, presets, author.group(1) if author else None


def vst3_parameters(render, bundle):
    # "id title range default current" for the eight base parameters.
    out = subprocess.run([render, "--plugin", bundle, "--list"], capture_output=True, text=True, check=True).stdout
    rows = {}
    for line in out.splitlines()[1:]:
        fields = line.split()
        if fields[0].isdigit():
            rows[int(fields[0])] = (fields[1], float(fields[2]), float(fields[4]), float(fields[5]))
    return rows


def main():
    bundle, render, vst3 = sys.argv[1:4]
    ttl = sorted(glob.glob(os.path.join(bundle, "*.ttl")))
    check(len(ttl) == 3, f"expected manifest, plug-in and preset files, found {ttl}")
    validate = subprocess.run(["lv2_validate", *ttl], capture_output=True, text=True)
    report = validate.stdout + validate.stderr
    check(validate.returncode == 0 and "Found 0 errors" in report, f"lv2_validate:\n{report}")

    ports, presets, author = lv2info_ports(bundle)
    # Hosts that read lilv (Ardour among them) list the plug-in "by" this.
    check(author == "Brackenfold", f"author {author}")
    check(sorted(ports) == list(range(13)), f"ports {sorted(ports)}")
    for index, (kind, symbol) in enumerate([("Input", "in_l"), ("Input", "in_r"), ("Output", "out_l"),
                                            ("Output", "out_r")]):
        port = ports.get(index, {})
        check(sorted(port.get("types", [])) == ["AudioPort", f"{kind}Port"] and port.get("Symbol") == symbol,
              f"port {index}: {port}")
    parameters = vst3_parameters(render, vst3)
    for index, (name, low, high, default) in parameters.items():
        port = ports.get(4 + index, {})
        check(sorted(port.get("types", [])) == ["ControlPort", "InputPort"], f"port {4 + index}: {port}")
        check(port.get("Name") == name, f"port {4 + index} is named {port.get('Name')}, the parameter {name}")
        for key, value in (("Minimum", low), ("Maximum", high), ("Default", default)):
            check(port.get(key) is not None and abs(float(port[key]) - value) < 0.005,
                  f"{name}: {key} {port.get(key)}, the parameter has {value}")
    check(ports.get(10, {}).get("properties") == ["toggled"], f"Bypass: {ports.get(10)}")
    oversampling = ports.get(11, {})
    check(sorted(oversampling.get("properties", [])) == ["enumeration", "integer"] and
          oversampling.get("scale") == [("0", "4×"), ("1", "16×")], f"Oversampling: {oversampling}")
    enable = ports.get(12, {})
    check(enable.get("Designation") == LV2 + "enabled" and enable.get("Default") == "1.000000" and
          enable.get("properties") == ["toggled"], f"host bypass: {enable}")
    programs = subprocess.run([render, "--plugin", vst3, "--list-presets"], capture_output=True, text=True,
                              check=True).stdout.splitlines()
    check(len(programs) > 1 and sorted(presets) == sorted(programs), f"presets {presets}, programs {programs}")

    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{len(ttl)} Turtle files valid, {len(ports)} ports, presets {presets}: "
          f"{'FAILED' if failures else 'as designed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
