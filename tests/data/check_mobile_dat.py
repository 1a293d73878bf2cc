#!/usr/bin/python3
"""Invariants over the whole built number database: schema, keys, codes and GBK names."""
import argparse
import os
import re
import sqlite3
import sys
import unittest

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPO, "data"))
from citytable import load_cities  # noqa: E402
from sources import read_primary  # noqa: E402

DB = SOURCES = None
CARRIERS = {"中国移动", "中国联通", "中国电信"}


class MobileDatTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.db = sqlite3.connect(f"file:{DB}?mode=ro", uri=True)
        cls.db.text_factory = bytes  # the names are GBK; decoding is what the tests check
        cls.rows = cls.db.execute(
            "SELECT id, mobile, province, city, type, pid, pcode, typeof(mobile), typeof(province),"
            " typeof(city), typeof(type), typeof(pid), typeof(pcode) FROM mobile ORDER BY id").fetchall()
        cls.cities = {(c.province, c.city): c for c in load_cities(os.path.join(REPO, "data", "cities.csv"))}

    @classmethod
    def tearDownClass(cls):
        cls.db.close()

    def test_schema_has_the_seven_columns_and_a_unique_key(self):
        columns = [row[1].decode() for row in self.db.execute("PRAGMA table_info(mobile)")]
        self.assertEqual(columns, ["id", "mobile", "province", "city", "type", "pid", "pcode"])
        unique_on_mobile = [
            index for _, index, unique, *_ in self.db.execute("PRAGMA index_list(mobile)")
            if unique and [r[2] for r in self.db.execute(f"PRAGMA index_info('{index.decode()}')")] == [b"mobile"]]
        self.assertTrue(unique_on_mobile, "no unique index on mobile: lookups would scan and duplicates could enter")

    def test_keys_are_unique_seven_digit_13_or_15_texts_in_order(self):
        keys = [row[1] for row in self.rows]
        self.assertEqual(len(keys), len(set(keys)))
        self.assertEqual({row[7] for row in self.rows}, {b"text"})
        bad = [k for k in keys if not re.fullmatch(rb"1[35]\d{5}", k)]
        self.assertEqual(bad, [])
        self.assertEqual(keys, sorted(keys), "rows are not in prefix order")
        gaps = [(n, row[0]) for n, row in enumerate(self.rows, start=1) if row[0] != n]
        self.assertEqual(gaps[:5], [], "ids are not 1..N in prefix order")

    def test_every_prefix_of_the_primary_source_has_its_row(self):
        keys = {row[1].decode() for row in self.rows}
        missing = sorted(set(read_primary(SOURCES)) - keys)
        self.assertEqual(missing[:20], [])
        self.assertGreater(len(keys), 187000)

    def test_names_are_gbk_texts_of_a_city_in_the_table_with_its_codes(self):
        wrong = []
        for row in self.rows:
            mobile, texts, kinds = row[1].decode(), row[2:7], row[8:13]
            if set(kinds) != {b"text"}:
                wrong.append(f"{mobile}: stored as {kinds}")
                continue
            try:
                province, city, carrier = (t.decode("gbk") for t in texts[:3])
            except UnicodeDecodeError:
                wrong.append(f"{mobile}: names are not GBK")
                continue
            # UTF-8 bytes of Chinese often decode as GBK too, into other characters; only a
            # name that then matches the table proves the encoding.
            known = self.cities.get((province, city))
            if known is None:
                wrong.append(f"{mobile}: {province} {city} is no city of the table")
            elif (texts[3].decode(), texts[4].decode()) != (known.area_code, known.postal_code):
                wrong.append(f"{mobile}: codes {texts[3:5]} are not those of {province} {city}")
            if carrier not in CARRIERS:
                wrong.append(f"{mobile}: carrier {carrier}")
            if len(wrong) > 20:
                break
        self.assertEqual(wrong, [])

    def test_codes_keep_their_leading_zeros(self):
        bad_area = {row[5] for row in self.rows if not re.fullmatch(rb"0\d{2,4}", row[5])}
        bad_postal = {row[6] for row in self.rows if not re.fullmatch(rb"\d{6}", row[6])}
        self.assertEqual((bad_area, bad_postal), (set(), set()))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--db", required=True)
    parser.add_argument("--sources", required=True)
    args, rest = parser.parse_known_args()
    DB, SOURCES = args.db, args.sources
    unittest.main(argv=[sys.argv[0]] + rest)
