#!/usr/bin/python3
"""Well-known facts looked up in the built number database through the mobile-lookup tool."""
import argparse
import subprocess
import sys
import unittest

LOOKUP = DB = None

# number -> the fields mobile-lookup prints after the number: status, province, city, type,
# area code, postal code. Each prefix here is one that both public sources agree on, unless
# the comment says what special case it stands for.
FACTS = {
    "13800138000": "found 北京 北京 中国移动 010 100000",
    "1390013": "found 上海 上海 中国移动 021 200000",
    "1390210": "found 天津 天津 中国移动 022 300000",
    "1380023": "found 重庆 重庆 中国移动 023 400000",
    "1302200": "found 广东 广州 中国联通 020 510000",
    "13500040000": "found 广东 深圳 中国移动 0755 518000",
    "1530531": "found 山东 济南 中国电信 0531 250000",
    "1390149": "found 江苏 常州 中国移动 0519 213000",
    "1580514": "found 江苏 南京 中国移动 025 210000",
    "1370571": "found 浙江 杭州 中国移动 0571 310000",
    "1390891": "found 西藏 拉萨 中国移动 0891 850000",
    "1390443": "found 吉林 延边 中国移动 0433 133000",  # autonomous prefecture, short name
    "1390974": "found 青海 海南 中国移动 0974 813000",  # a prefecture named like a province
    "1300002": "found 安徽 合肥 中国联通 0551 230000",  # listed under 巢湖, dissolved in 2011
    "1300276": "found 山东 济南 中国联通 0531 250000",  # listed under 莱芜, merged in 2019
    "1390727": "found 湖北 襄阳 中国移动 0710 441000",  # 襄樊 in phonenumbers
    "1344827": "found 湖北 仙桃 中国移动 0728 433000",  # the carriers' 江汉 district
    "1302961": "found 新疆 石河子 中国联通 0993 832000",  # county-level, under the region
    "1312819": "found 香港 香港 中国联通 00852 999077",
    "1571806": "found 四川 成都 中国移动 028 610000",  # only phonenumbers knows it
    "1540000": "not-found", "1549999": "not-found",  # 154 was never assigned
}


class FactsTest(unittest.TestCase):
    def test_facts(self):
        out = subprocess.run([LOOKUP, "--db", DB, *FACTS], capture_output=True, check=True,
                             encoding="utf-8").stdout
        got = {}
        for line in out.splitlines():
            number, *fields = line.split("\t")
            got[number] = " ".join(f for f in fields if f)
        self.assertEqual(got, FACTS)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lookup", required=True, help="the mobile-lookup tool")
    parser.add_argument("--db", required=True)
    args, rest = parser.parse_known_args()
    LOOKUP, DB = args.lookup, args.db
    unittest.main(argv=[sys.argv[0]] + rest)
