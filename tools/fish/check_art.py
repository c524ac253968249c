#!/usr/bin/env python3
"""Checks the fish pictures and the application icon in art/.

    python3 tools/fish/check_art.py [--art DIR]

Reads the XPM files themselves (not the grids in make_fish.py), so it also catches
hand edits. Prints every problem found and exits with 1 if there was any, else 0.
"""

import itertools
import os
import re
import shutil
import subprocess
import sys
import tempfile

ALLOWED = {
    '#000000', '#800000', '#008000', '#808000', '#000080', '#800080', '#008080', '#808080',
    '#C0C0C0', '#FF0000', '#00FF00', '#FFFF00', '#0000FF', '#FF00FF', '#00FFFF', '#FFFFFF',
}
WHITE = '#FFFFFF'
NONE = 'None'

FISH_L = ['imgFishL%d' % i for i in range(1, 6)]
FISH_R = ['imgFishR%d' % i for i in range(1, 6)]
ICON = 'MAINICON'
ALL = FISH_L + FISH_R + [ICON]

# The only picture with see-through pixels, and how many it has.
TRANSPARENT = {'imgFishL2': 14}

# At most this many pixels may differ between a right-facing fish and its
# left-facing fish turned round: the two must be the same fish.
MAX_TURN_DIFFERENCE = 64

# Colours each picture has to show, so that a species cannot quietly lose its look.
MUST_USE = {
    1: {'#FF00FF', '#000000', '#008000'},             # magenta and black stripes, green eye/fins
    2: {'#008000', '#FFFF00', '#0000FF', '#000000'},  # green body, yellow eye and fins, blue ribs
    3: {'#0000FF', '#FF0000'},                        # blue body, red eye
    4: {'#800000', '#808000', '#FF0000', '#FFFF00', '#000000'},  # chequers, red face, yellow eye
    5: {'#FFFF00', '#000000'},                        # yellow with black bars
}
ICON_MUST_USE = {'#FF00FF', '#FFFFFF', '#808080', '#008000', '#FFFF00', '#000000'}
# Main body colour of each species: the most common colour after white and black.
BODY = {1: '#FF00FF', 2: '#008000', 3: '#0000FF', 5: '#FFFF00'}


def parse(path, name, problems):
    """Returns the picture as 32 rows of 32 colour strings, or None when it is unreadable."""
    def bad(msg):
        problems.append('%s: %s' % (name, msg))

    try:
        with open(path, encoding='ascii') as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        bad('cannot read (%s)' % e)
        return None
    if not text.startswith('/* XPM */'):
        bad('does not start with /* XPM */')
    decl = 'static const char *const %s_xpm[] = {' % name
    if decl not in text:
        bad('no declaration "%s"' % decl)
    if not text.rstrip().endswith('};'):
        bad('does not end with };')
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    if not strings:
        bad('no strings')
        return None
    head = strings[0].split()
    if len(head) != 4 or not all(h.isdigit() for h in head):
        bad('header %r not understood' % strings[0])
        return None
    w, h, n, cpp = map(int, head)
    if (w, h, cpp) != (32, 32, 1):
        bad('header says %dx%d, %d chars a pixel; want 32x32, 1' % (w, h, cpp))
        return None
    if len(strings) != 1 + n + h:
        bad('%d strings, header promises %d' % (len(strings), 1 + n + h))
        return None
    colours = {}
    for line in strings[1:1 + n]:
        key, rest = line[:1], line[1:].split()
        if len(rest) != 2 or rest[0] != 'c':
            bad('colour line %r not understood' % line)
            continue
        value = rest[1]
        if value != NONE and value not in ALLOWED:
            bad('colour %s is not one of the 16 (uppercase hex)' % value)
        if key in colours:
            bad('key %r declared twice' % key)
        if value in colours.values():
            bad('colour %s declared twice' % value)
        colours[key] = value
    rows = []
    used = set()
    for y, line in enumerate(strings[1 + n:]):
        if len(line) != w:
            bad('row %d is %d wide' % (y, len(line)))
            return None
        row = []
        for ch in line:
            if ch not in colours:
                bad('row %d uses undeclared key %r' % (y, ch))
                return None
            used.add(ch)
            row.append(colours[ch])
        rows.append(row)
    for key in set(colours) - used:
        bad('declares colour %s but never uses it' % colours[key])
    return rows


def count(rows, colour):
    return sum(r.count(colour) for r in rows)


def opaque(rows):
    """The picture as seen: see-through pixels show the white background."""
    return [[WHITE if c == NONE else c for c in r] for r in rows]


def turned(rows):
    return [list(reversed(r)) for r in rows]


def differences(a, b):
    return sum(1 for ra, rb in zip(a, b) for ca, cb in zip(ra, rb) if ca != cb)


def compiles(art, problems):
    """Every file must be valid C++ when #included."""
    compiler = shutil.which('g++') or shutil.which('clang++')
    if not compiler:
        print('note: no C++ compiler found, compile check skipped')
        return
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'use_art.cpp')
        with open(src, 'w') as f:
            for name in ALL:
                f.write('#include "%s.xpm"\n' % name)
            f.write('const char *const *all[] = {%s};\n' % ', '.join(n + '_xpm' for n in ALL))
            f.write('int main() { return all[0][0][0] == \'3\' ? 0 : 1; }\n')
        r = subprocess.run([compiler, '-std=c++17', '-Wall', '-Wextra', '-Werror', '-I', art,
                            '-o', os.path.join(tmp, 'use_art'), src],
                           capture_output=True, text=True)
        if r.returncode != 0:
            problems.append('C++ compile failed:\n' + r.stderr)


def check(art):
    problems = []
    pics = {}
    for name in ALL:
        path = os.path.join(art, name + '.xpm')
        if not os.path.exists(path):
            problems.append('%s: missing' % name)
            continue
        rows = parse(path, name, problems)
        if rows is not None:
            pics[name] = rows

    for name, rows in pics.items():
        want = TRANSPARENT.get(name, 0)
        got = count(rows, NONE)
        if got != want:
            problems.append('%s: %d see-through pixels, want %d' % (name, got, want))
        seen = opaque(rows)
        for (x, y) in ((0, 0), (31, 0), (0, 31), (31, 31)):
            if seen[y][x] != WHITE:
                problems.append('%s: corner (%d,%d) is not on the white background' % (name, x, y))
        if count(seen, WHITE) < 200:
            problems.append('%s: hardly any white background left' % name)

    for i in range(1, 6):
        for name in ('imgFishL%d' % i, 'imgFishR%d' % i):
            if name not in pics:
                continue
            colours = {c for r in pics[name] for c in r}
            missing = MUST_USE[i] - colours
            if missing:
                problems.append('%s: lacks %s' % (name, ', '.join(sorted(missing))))
            if i in BODY:
                tally = {}
                for r in pics[name]:
                    for c in r:
                        if c not in (WHITE, NONE, '#000000'):
                            tally[c] = tally.get(c, 0) + 1
                top = max(tally, key=tally.get) if tally else None
                if top != BODY[i]:
                    problems.append('%s: main colour is %s, want %s' % (name, top, BODY[i]))
    if ICON in pics:
        missing = ICON_MUST_USE - {c for r in pics[ICON] for c in r}
        if missing:
            problems.append('%s: lacks %s' % (ICON, ', '.join(sorted(missing))))

    # A right-facing fish is its left fish turned round, but never exactly so.
    for left, right in zip(FISH_L, FISH_R):
        if left in pics and right in pics:
            d = differences(turned(opaque(pics[left])), opaque(pics[right]))
            if d == 0:
                problems.append('%s is exactly %s turned round' % (right, left))
            elif d > MAX_TURN_DIFFERENCE:
                problems.append('%s differs from %s turned round in %d pixels (max %d)'
                                % (right, left, d, MAX_TURN_DIFFERENCE))

    # No two fish alike, either way round.
    fish = [n for n in FISH_L + FISH_R if n in pics]
    for a, b in itertools.combinations(fish, 2):
        pa, pb = opaque(pics[a]), opaque(pics[b])
        if pa == pb or turned(pa) == pb:
            problems.append('%s and %s are the same picture' % (a, b))

    compiles(art, problems)
    return problems


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    art = os.path.normpath(os.path.join(here, '..', '..', 'art'))
    if len(argv) == 3 and argv[1] == '--art':
        art = argv[2]
    elif len(argv) != 1:
        print(__doc__)
        return 2
    problems = check(art)
    for p in problems:
        print('FAIL ' + p)
    if not problems:
        print('ok: %d pictures checked in %s' % (len(ALL), art))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
