#!/usr/bin/env python3
"""Checks the release zip against the dist/ folder it is made from.

Usage: check_zip.py ZIP DIST_DIR VERSION

The zip must hold one folder Tessaron/ with exactly the files of dist/, byte for byte, plus
README.txt and Apache-2.0.txt; the read-me must be UTF-8 with a BOM and CRLF lines (Notepad
shows it right), carry VERSION and name every licence the data comes under.
"""
import pathlib
import sys
import zipfile

EXTRA = {"README.txt", "Apache-2.0.txt"}
SHIPPED = {"Tessaron.exe", "AppFace.dll", "sqlite3.dll", "GtBase.urf", "mobile.dat"}
README_MUST_NAME = [
    "MIT",
    "Copyright (c) 2015 SuperID",
    "Copyright (c) 2019 wabg",
    "Apache License 2.0",
    "The Libphonenumber Authors",
]


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: check_zip.py ZIP DIST_DIR VERSION")
    zip_path, dist, version = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    problems = []

    dist_files = {p.name for p in dist.iterdir()}
    if dist_files != SHIPPED:
        problems.append(f"dist/ holds {sorted(dist_files)}, expected {sorted(SHIPPED)}")

    with zipfile.ZipFile(zip_path) as archive:
        if archive.testzip() is not None:
            problems.append(f"corrupt member {archive.testzip()}")
        files = {i.filename: i for i in archive.infolist() if not i.is_dir()}
        dirs = {i.filename for i in archive.infolist() if i.is_dir()}
        expected = {f"Tessaron/{name}" for name in dist_files | EXTRA}
        if set(files) != expected:
            problems.append(f"missing {sorted(expected - set(files))}, unexpected {sorted(set(files) - expected)}")
        if dirs - {"Tessaron/"}:
            problems.append(f"unexpected folders {sorted(dirs - {'Tessaron/'})}")
        for name in sorted(dist_files):
            member = f"Tessaron/{name}"
            if member in files and archive.read(member) != (dist / name).read_bytes():
                problems.append(f"{member} differs from {dist / name}")
        readme = archive.read("Tessaron/README.txt") if "Tessaron/README.txt" in files else b""
        licence = archive.read("Tessaron/Apache-2.0.txt") if "Tessaron/Apache-2.0.txt" in files else b""

    if not readme.startswith(b"\xef\xbb\xbf"):
        problems.append("README.txt has no UTF-8 BOM")
    if readme.replace(b"\r\n", b"").count(b"\n") or readme.count(b"\r\n") < 10:
        problems.append("README.txt lines do not all end in CRLF")
    text = readme.decode("utf-8-sig", errors="replace")
    problems += [f"README.txt does not name {s!r}" for s in [version] + README_MUST_NAME if s not in text]
    if b"Apache License" not in licence or b"Version 2.0" not in licence:
        problems.append("Apache-2.0.txt is not the Apache License 2.0")

    for problem in problems:
        print(f"{zip_path.name}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
