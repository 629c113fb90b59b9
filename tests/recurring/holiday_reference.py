#!/usr/bin/python3
"""Writes the public holidays that Debian's python3-holidays gives for every country of
data/holidays/holidays.tsv and every year from 2000 to 2060, as the independent reference that
HolidaySets.* compares the table's formulas with; the countries that the library does not know are left
to holiday_official.py.

Output, one line per country (and per region, "DE-BY", with the national holidays included) and year:
code, year, then the days as MMDD separated by blanks; a day
that the library gives only as a substitute for a holiday on a weekend (its name says "Observed",
"[Sunday]", "following" or "substitute") ends in "s".

    python3 tests/recurring/holiday_reference.py > tests/recurring/data/holiday_reference.txt
    python3 tests/recurring/holiday_reference.py --check tests/recurring/data/holiday_reference.txt
"""
import os
import re
import sys

try:
    import holidays
except ImportError:
    # CTest reads 77 as "skipped": the check needs Debian's python3-holidays (scripts/install-deps.sh).
    print('python3-holidays is not installed; nothing to check')
    sys.exit(77)

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, '..', '..', 'data', 'holidays', 'holidays.tsv')
# The library names some countries by another code.
LIBRARY_CODE = {'FR': 'FRA', 'GB': 'UK', 'IN': 'IND'}
SUBSTITUTE = re.compile(r'Observed|\[Sunday\]|following|substitute|振替休日|国民の休日', re.I)


# The countries the library does not know, whose reference is written by hand from their regulations
# (data/holiday_official_rules.txt, expanded by holiday_official.py).
OFFICIAL_RULES = os.path.join(HERE, 'data', 'holiday_official_rules.txt')


def places():
    """(code, region or None) of every country and region of the table that the library knows, in order."""
    with open(OFFICIAL_RULES, encoding='utf-8') as rules:
        by_hand = {line.split('\t')[0] for line in rules if line.strip() and not line.startswith('#')}
    with open(TABLE, encoding='utf-8') as table:
        for line in table:
            fields = line.rstrip('\n').split('\t')
            if fields[0] == 'country' and fields[1] in by_hand:
                continue
            if fields[0] == 'country':
                yield fields[1], None
            elif fields[0] == 'region':
                yield fields[1], fields[2]


def reference():
    out = []
    for code, region in places():
        days = holidays.CountryHoliday(LIBRARY_CODE.get(code, code), years=list(range(2000, 2061)), prov=region)
        place = code if region is None else code + '-' + region
        for year in range(2000, 2061):
            marks = []
            for date, name in sorted(days.items()):
                if date.year != year:
                    continue
                parts = [p for p in re.split(r', (?![^\[]*\])', name)]
                substitute = all(SUBSTITUTE.search(p) for p in parts)
                marks.append('%02d%02d%s' % (date.month, date.day, 's' if substitute else ''))
            out.append('%s\t%d\t%s' % (place, year, ' '.join(marks)))
    return '\n'.join(out) + '\n'


def main():
    text = reference()
    if len(sys.argv) == 3 and sys.argv[1] == '--check':
        with open(sys.argv[2], encoding='utf-8') as kept:
            if kept.read() != text:
                sys.exit('%s differs from what python3-holidays %s gives now; regenerate it'
                         % (sys.argv[2], holidays.__version__))
        return
    sys.stdout.write(text)


if __name__ == '__main__':
    main()
