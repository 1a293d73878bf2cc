"""The curated city table (cities.csv), its aliases, and the matching of source place names onto it."""
import csv
import re
from dataclasses import dataclass

AREA_CODE = re.compile(r"0\d{2,3}|00\d{3}")
POSTAL_CODE = re.compile(r"\d{6}")
ADCODE = re.compile(r"\d{6}")

# Suffixes that the sources sometimes add to a short name (山南地区, 兴安盟) or leave off.
NAME_SUFFIXES = ("市", "地区", "盟")


class TableError(Exception):
    """The curated table or its aliases are malformed; the message names the rows."""


@dataclass(frozen=True)
class City:
    adcode: str
    province: str
    city: str
    name: str  # the official name, as the administrative division list spells it
    area_code: str
    postal_code: str


def _read_csv(path, columns):
    with open(path, encoding="utf-8", newline="") as f:
        reader = csv.DictReader(f)
        if reader.fieldnames != columns:
            raise TableError(f"{path}: header must be {','.join(columns)}")
        return [(reader.line_num, row) for row in reader]


def load_cities(path):
    cities, problems = [], []
    seen_names, seen_codes = set(), set()
    columns = ["adcode", "province", "city", "name", "area_code", "postal_code"]
    for line, row in _read_csv(path, columns):
        city = City(**{k: (row[k] or "").strip() for k in columns})
        where = f"{path}:{line}"
        if not ADCODE.fullmatch(city.adcode):
            problems.append(f"{where}: adcode {city.adcode!r} is not six digits")
        if not city.province or not city.city or not city.name:
            problems.append(f"{where}: empty province, city or name")
        if not AREA_CODE.fullmatch(city.area_code):
            problems.append(f"{where}: area code {city.area_code!r} malformed")
        if not POSTAL_CODE.fullmatch(city.postal_code):
            problems.append(f"{where}: postal code {city.postal_code!r} malformed")
        if (city.province, city.city) in seen_names:
            problems.append(f"{where}: {city.province} {city.city} listed twice")
        if city.adcode in seen_codes:
            problems.append(f"{where}: adcode {city.adcode} listed twice")
        seen_names.add((city.province, city.city))
        seen_codes.add(city.adcode)
        cities.append(city)
    if problems:
        raise TableError("\n".join(problems))
    return cities


class Resolver:
    """Maps a (province, place name) pair of any source onto one row of the curated table."""

    def __init__(self, cities, aliases_path):
        self.cities = cities
        self.provinces = sorted({c.province for c in cities}, key=len, reverse=True)
        self._by_name = {}
        for c in cities:
            self._by_name[(c.province, c.city)] = c
            self._by_name.setdefault((c.province, c.name), c)
        self._aliases = {}
        problems = []
        columns = ["province", "alias", "city", "reason"]
        for line, row in _read_csv(aliases_path, columns):
            target = self._by_name.get((row["province"], row["city"]))
            if target is None:
                problems.append(f"{aliases_path}:{line}: {row['province']} {row['city']} is not in the city table")
            elif (row["province"], row["alias"]) in self._by_name:
                problems.append(f"{aliases_path}:{line}: {row['alias']} is already a name in the city table")
            self._aliases[(row["province"], row["alias"])] = target
        if problems:
            raise TableError("\n".join(problems))

    def resolve(self, province, name):
        """Returns the City, or None when neither the name, nor the name without a usual suffix,
        nor an alias of either is known in that province."""
        candidates = [name] + [name[: -len(s)] for s in NAME_SUFFIXES if name.endswith(s) and len(name) > len(s)]
        for candidate in candidates:
            key = (province, candidate)
            city = self._by_name.get(key) or self._aliases.get(key)
            if city is not None:
                return city
        return None

    def resolve_full(self, text):
        """Resolves a name that carries its province in front, as phonenumbers writes them:
        '河南省郑州市', '内蒙古乌兰察布市', '天津市'. Returns None when it cannot."""
        for province in self.provinces:
            if text.startswith(province):
                rest = re.sub(r"^(省|市|.{0,3}自治区|特别行政区)", "", text[len(province):])
                return self.resolve(province, rest or province)
        return None
