#!/usr/bin/python3
"""Expands the hand-written rules of tests/recurring/data/holiday_official_rules.txt (the public holidays of
the countries that python3-holidays does not know, from each country's own regulations) into days for every
year from 2000 to 2060, in the form of holiday_reference.txt, for HolidaySets.* to compare the table with.

Easter comes from python3-dateutil and the Ethiopian calendar from its day count here, so that nothing of
the program's own formula code checks itself.

    python3 tests/recurring/holiday_official.py > tests/recurring/data/holiday_official_reference.txt
    python3 tests/recurring/holiday_official.py --check tests/recurring/data/holiday_official_reference.txt
"""
import datetime
import os
import sys

try:
    from dateutil import easter
except ImportError:
    # CTest reads 77 as "skipped": Easter needs python3-dateutil (it comes with python3-holidays).
    print('python3-dateutil is not installed; nothing to check')
    sys.exit(77)

HERE = os.path.dirname(os.path.abspath(__file__))
RULES = os.path.join(HERE, 'data', 'holiday_official_rules.txt')
FIRST, LAST = 2000, 2060

# Julian day number of 1 Meskerem of year 1 of the Ethiopian calendar (Amete Mihret).
ETHIOPIAN_EPOCH = 1724221


def ethiopian_to_gregorian(year, month, day):
    """Every Ethiopian year has 12 months of 30 days and Pagume of 5 days, 6 in a year that leaves 3 when
    divided by 4."""
    jdn = ETHIOPIAN_EPOCH + 365 * (year - 1) + year // 4 + 30 * (month - 1) + day - 1
    return datetime.date.fromordinal(jdn - 1721425)


# Days that every source agrees on: the day count is checked against them before anything is written.
for (ey, em, ed), known in [((2016, 1, 1), datetime.date(2023, 9, 12)), ((2017, 1, 1), datetime.date(2024, 9, 11)),
                            ((2012, 4, 29), datetime.date(2020, 1, 8)), ((2016, 8, 23), datetime.date(2024, 5, 1)),
                            ((1983, 9, 20), datetime.date(1991, 5, 28)), ((1888, 6, 23), datetime.date(1896, 3, 1))]:
    assert ethiopian_to_gregorian(ey, em, ed) == known, (ey, em, ed, known)


def years(span, where):
    common_only = span.endswith(':common')
    span = span[:-len(':common')] if common_only else span
    chosen = set()
    for part in span.split(','):
        first, dash, last = part.partition('-')
        if not first.isdigit() or not dash or (last and not last.isdigit()):
            sys.exit('%s: years "%s" cannot be read' % (where, span))
        chosen.update(range(max(int(first), FIRST), (int(last) if last else LAST) + 1))
    leap = lambda y: y % 4 == 0 and (y % 100 != 0 or y % 400 == 0)
    return sorted(y for y in chosen if y <= LAST and not (common_only and leap(y)))


def days(rule, year, where):
    if rule.startswith('ethiopian '):
        day, month = (int(x) for x in rule.split()[1:3])
        # A Gregorian year holds the end of one Ethiopian year and the start of the next.
        found = [ethiopian_to_gregorian(ey, month, day) for ey in (year - 8, year - 7)]
        return [d for d in found if d.year == year]
    for name, method in (('orthodox-easter', easter.EASTER_ORTHODOX), ('easter', easter.EASTER_WESTERN)):
        if rule.startswith(name) and rule[len(name)] in '+-':
            return [easter.easter(year, method) + datetime.timedelta(days=int(rule[len(name):]))]
    first, _, last = rule.partition('..')
    if len(first) != 4 or not first.isdigit() or (last and (len(last) != 4 or last[:2] != first[:2])):
        sys.exit('%s: day "%s" cannot be read' % (where, rule))
    month = int(first[:2])
    return [datetime.date(year, month, d) for d in range(int(first[2:]), int((last or first)[2:]) + 1)]


def reference():
    per_place = {}
    with open(RULES, encoding='utf-8') as rules:
        for number, line in enumerate(rules, 1):
            if not line.strip() or line.startswith('#'):
                continue
            where = '%s:%d' % (RULES, number)
            fields = line.rstrip('\n').split('\t')
            if len(fields) != 4:
                sys.exit('%s: a rule needs four tab-separated fields' % where)
            code, span, rule, _ = fields
            place = per_place.setdefault(code, {y: set() for y in range(FIRST, LAST + 1)})
            for year in years(span, where):
                place[year].update(days(rule, year, where))
    out = []
    for code, place in per_place.items():
        for year, chosen in sorted(place.items()):
            out.append('%s\t%d\t%s' % (code, year, ' '.join('%02d%02d' % (d.month, d.day) for d in sorted(chosen))))
    return '\n'.join(out) + '\n'


def main():
    text = reference()
    if len(sys.argv) == 3 and sys.argv[1] == '--check':
        with open(sys.argv[2], encoding='utf-8') as kept:
            if kept.read() != text:
                sys.exit('%s differs from what %s gives now; regenerate it' % (sys.argv[2], RULES))
        return
    sys.stdout.write(text)


if __name__ == '__main__':
    main()
