#!/usr/bin/env python3
"""Grows a supplied scenario's town from other seeds of the game's chance and
plays the world tests of that scenario on each, to show what its task rests
on: a row per seed of the figures the tests record.

    scripts/scenario-seeds.py <build dir> <town> <gtest filter> <seed>...
    scripts/scenario-seeds.py build/release Flussau '*Flussau*' 1 2 3

For each seed the town's script (assets/savegames/scenario_<town>.txt) is
copied with its "seed" step set to the seed (or one put before its growth), saved by the build's
zor_startsaves into a game data folder of its own (the build's data,
linked, with the other supplied games), and the build's world_tests run on
that folder (ZOR_BINARY_DIR). Two seeds are played at a time. The row holds
each test's recorded figures ("best", "people", ...) and its outcome.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor


def prepare(build, town, seed, root):
    """A binary folder whose game data holds the town grown from the seed."""
    folder = os.path.join(root, "seed%d" % seed)
    data = os.path.join(folder, "gamedata")
    saves = os.path.join(data, "SaveGame")
    os.makedirs(saves)
    source = os.path.join(build, "gamedata")
    for name in os.listdir(source):
        if name != "SaveGame":
            os.symlink(os.path.abspath(os.path.join(source, name)), os.path.join(data, name))
    for name in os.listdir(os.path.join(source, "SaveGame")):
        shutil.copy(os.path.join(source, "SaveGame", name), saves)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "assets", "savegames", "scenario_%s.txt" % town.lower())) as f:
        script = f.read()
    # The seed step in place of the script's own, or before its growth when
    # the town grows from the generator's seed.
    script, n = re.subn(r"(?m)^seed \d+$", "seed %d" % seed, script)
    if n == 0:
        script, n = re.subn(r"(?m)^grow ", "seed %d\ngrow " % seed, script)
    if n != 1:
        sys.exit("the script of %s has no single seed or growth step" % town)
    path = os.path.join(folder, "town.txt")
    with open(path, "w") as f:
        f.write(script)
    run = os.path.join(folder, "run")
    os.makedirs(run)
    subprocess.run([os.path.abspath(os.path.join(build, "bin", "zor_startsaves")), os.path.abspath(data), path,
                    town + ".SZD"], cwd=run, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return folder


def play(build, town, pattern, seed, root):
    folder = prepare(build, town, seed, root)
    out = os.path.join(folder, "tests.json")
    env = dict(os.environ, ZOR_BINARY_DIR=os.path.abspath(folder), SDL_VIDEODRIVER="dummy",
               SDL_AUDIODRIVER="dummy")
    subprocess.run([os.path.abspath(os.path.join(build, "bin", "world_tests")), "--gtest_filter=" + pattern,
                    "--gtest_output=json:" + out], cwd=os.path.join(folder, "run"), env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    row = {}
    with open(out) as f:
        for suite in json.load(f)["testsuites"]:
            for test in suite["testsuite"]:
                figures = {k: v for k, v in test.items()
                           if k not in ("name", "status", "result", "timestamp", "time", "classname", "failures",
                                        "file", "line", "value_param", "type_param")}
                figures["ok"] = "pass" if "failures" not in test else "FAIL"
                row[test["name"]] = figures
    return seed, row


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    build, town, pattern = sys.argv[1:4]
    seeds = [int(s) for s in sys.argv[4:]]
    root = tempfile.mkdtemp(prefix="scenario-seeds-")
    with ThreadPoolExecutor(max_workers=2) as pool:
        rows = list(pool.map(lambda s: play(build, town, pattern, s, root), seeds))
    # A markdown table: a row per seed, a column per test, each cell the
    # test's recorded figures by name (its course left out) and its outcome.
    tests = sorted({t for _, row in rows for t in row})
    print("| seed | " + " | ".join(t.split("/")[-1] for t in tests) + " |")
    print("|---:|" + ":---|" * len(tests))
    for seed, row in rows:
        cells = []
        for t in tests:
            figures = row.get(t, {})
            shown = ["%s: %s;" % (k, v) for k, v in sorted(figures.items()) if k not in ("course", "ok")]
            if figures.get("ok") == "FAIL":
                shown.append("FAIL")
            cells.append(" ".join(shown))
        print("| %d | %s |" % (seed, " | ".join(cells)))
    shutil.rmtree(root)


if __name__ == "__main__":
    main()
