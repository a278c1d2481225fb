#!/usr/bin/env python3
"""Applies each fault of mutants.txt in turn, rebuilds what runs it, runs its
tests and records whether they caught it.

    scripts/mutation/run-mutants.py LABEL [ID ...]

Writes scripts/mutation/results-LABEL.txt, one row per mutant as it finishes.
Environment: BUILD_DIR (default build/release, configured and built already),
TEST_TIMEOUT (seconds per test program, default 300), TESTS (tests to run for
every mutant instead of its own, to check survivors against a wider set). The editor tests need an
X server: run the whole script under xvfb-run. The source file is restored
after every mutant, on failure and on interrupt as well; a copy kept in the
build folder restores it on the next start should the script be killed.
"""
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = ROOT / os.environ.get("BUILD_DIR", "build/release")
TIMEOUT = int(os.environ.get("TEST_TIMEOUT", "300"))
BACKUP = BUILD / "mutation-backup"


def read_mutants():
    for number, line in enumerate((ROOT / "scripts/mutation/mutants.txt").read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split(" | ")
        if len(fields) != 5:
            sys.exit(f"mutants.txt:{number}: expected 5 fields separated by ' | ', got {len(fields)}")
        yield [field.replace("\\n", "\n") for field in fields]


def restore_leftover():
    """Puts back a source file a killed run left mutated."""
    for saved in BACKUP.rglob("*") if BACKUP.exists() else []:
        if saved.is_file():
            shutil.copyfile(saved, ROOT / saved.relative_to(BACKUP))
            print(f"restored {saved.relative_to(BACKUP)} left by an interrupted run")
    shutil.rmtree(BACKUP, ignore_errors=True)


def run(command, log, timeout=None):
    with open(log, "a") as out:
        out.write(f"$ {' '.join(command)}\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write("timed out\n")
            return "timeout"


def test_commands(tokens):
    """'prog' or 'prog:GtestFilter' runs a test program; 'ctest:REGEX' runs
    the ctest tests it matches, 'ctest-except:REGEX' all others; '+target' is
    only built."""
    targets, commands = [], []
    ctest = ["ctest", "--test-dir", str(BUILD), "-j2", "--timeout", str(TIMEOUT)]
    for token in tokens.split():
        if token.startswith("+"):
            targets.append(token[1:])
        elif token.startswith("ctest:"):
            commands.append(ctest + ["-R", token[6:]])
        elif token.startswith("ctest-except:"):
            commands.append(ctest + ["-E", token[13:]])
        else:
            program, _, gtest_filter = token.partition(":")
            targets.append(program)
            binary = next(BUILD.glob(f"tests/*/{program}"))
            commands.append([str(binary), "--gtest_brief=1"] + ([f"--gtest_filter={gtest_filter}"] if gtest_filter else []))
    return targets, commands


def try_mutant(mutant_id, path, original, replacement, tokens, log):
    source = ROOT / path
    text = source.read_text()
    if text.count(original) != 1:
        return "did-not-apply", ""
    targets, commands = test_commands(tokens)
    log.write_text("")
    (BACKUP / path).parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(source, BACKUP / path)
    try:
        source.write_text(text.replace(original, replacement))
        build = ["cmake", "--build", str(BUILD), "-j2"] + [a for t in targets for a in ("--target", t)]
        if run(build, log) != 0:
            return "build-failed", ""
        for command in commands:
            status = run(command, log, TIMEOUT + 60)
            if status != 0:
                return "caught", f"{pathlib.Path(command[0]).name if command[0] != 'ctest' else command[-1]} ({status})"
        return "survived", ""
    finally:
        source.write_text(text)
        shutil.rmtree(BACKUP, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    label, wanted = sys.argv[1], sys.argv[2:]
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    signal.signal(signal.SIGHUP, lambda *_: sys.exit("hung up"))
    restore_leftover()
    results = ROOT / f"scripts/mutation/results-{label}.txt"
    logs = BUILD / f"mutation-logs-{label}"
    logs.mkdir(parents=True, exist_ok=True)
    all_targets = set()
    with open(results, "w") as table:
        table.write(f"{'id':<12} {'result':<14} {'seconds':>7}  caught by\n")
        mutants = list(read_mutants())
        if wanted:  # in the order asked for, so that a partial run covers what matters first
            mutants = [m for i in wanted for m in mutants if m[0] == i]
        for mutant_id, path, original, replacement, tokens in mutants:
            tokens = os.environ.get("TESTS", tokens)
            all_targets.update(test_commands(tokens)[0])
            started = time.time()
            result, caught_by = try_mutant(mutant_id, path, original, replacement, tokens, logs / f"{mutant_id}.log")
            table.write(f"{mutant_id:<12} {result:<14} {time.time() - started:7.0f}  {caught_by}\n")
            table.flush()
            print(mutant_id, result, caught_by, flush=True)
    # The build folder holds objects of the last mutant: build them again from the restored tree.
    run(["cmake", "--build", str(BUILD), "-j2"] + [a for t in sorted(all_targets) for a in ("--target", t)],
        logs / "final-rebuild.log")


if __name__ == "__main__":
    main()
