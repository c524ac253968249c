#!/usr/bin/env python3
"""Checks the six face XPMs in art/.

    python3 tools/faces/check_faces.py [art-dir]

Format: XPM3 header, variable <stem>_xpm, 97 x 113, one char per pixel,
only 'c' keys with colours of the 16-colour palette, header colour count
equal to the colours declared, every declared colour used, no undeclared
characters.  Content: a few things each face must (or must not) show,
so a face drawn in the wrong slot or with a missing part is caught.
Exits non-zero and lists the problems if anything is wrong.
"""

import os
import re
import sys

W, H = 97, 113
PALETTE = {'#000000', '#800000', '#008000', '#808000', '#000080', '#800080',
           '#008080', '#808080', '#C0C0C0', '#FF0000', '#00FF00', '#FFFF00',
           '#0000FF', '#FF00FF', '#00FFFF', '#FFFFFF'}
FACES = ['imgSleep', 'imgHappy', 'imgKutta', 'imgAngry', 'imgWeep', 'imgGaoh']

BLACK, RED, GREEN, YELLOW = '#000000', '#FF0000', '#008000', '#FFFF00'
MAGENTA, CYAN, WHITE, LIME = '#FF00FF', '#00FFFF', '#FFFFFF', '#00FF00'


def parse(path, name, errors):
    text = open(path, encoding='ascii').read()
    if not text.startswith('/* XPM */\n'):
        errors.append('%s: does not start with /* XPM */' % name)
    m = re.search(r'static const char \*const (\w+)\[\] = \{', text)
    if not m or m.group(1) != name + '_xpm':
        errors.append('%s: variable must be %s_xpm' % (name, name))
    if not text.rstrip().endswith('};'):
        errors.append('%s: does not end with };' % name)
    strings = re.findall(r'"([^"]*)"', text)
    if not strings:
        errors.append('%s: no strings' % name)
        return None
    head = strings[0].split()
    if len(head) != 4 or head[3] != '1':
        errors.append('%s: bad header %r' % (name, strings[0]))
        return None
    w, h, n = int(head[0]), int(head[1]), int(head[2])
    if (w, h) != (W, H):
        errors.append('%s: size %dx%d, want %dx%d' % (name, w, h, W, H))
    colours = {}
    for line in strings[1:1 + n]:
        m = re.fullmatch(r'(.) c (#[0-9A-F]{6})', line)
        if not m:
            errors.append('%s: bad colour line %r' % (name, line))
            continue
        if m.group(2) not in PALETTE:
            errors.append('%s: colour %s not in the palette' % (name, m.group(2)))
        if m.group(1) in colours:
            errors.append('%s: char %r declared twice' % (name, m.group(1)))
        colours[m.group(1)] = m.group(2)
    if len(set(colours.values())) != len(colours):
        errors.append('%s: a colour is declared under two chars' % name)
    rows = strings[1 + n:]
    if len(rows) != h:
        errors.append('%s: %d pixel rows, header says %d' % (name, len(rows), h))
    used = set()
    grid = []
    for i, r in enumerate(rows):
        if len(r) != w:
            errors.append('%s: row %d is %d wide' % (name, i, len(r)))
        for ch in r:
            if ch not in colours:
                errors.append('%s: row %d uses undeclared char %r' % (name, i, ch))
                break
        used |= set(r)
        grid.append([colours.get(ch) for ch in r])
    unused = set(colours) - used
    if unused:
        errors.append('%s: declared but unused: %s' % (name, ''.join(sorted(unused))))
    return grid


def count(grid, colour, x0=0, y0=0, x1=W, y1=H):
    return sum(1 for y in range(y0, y1) for x in range(x0, x1)
               if grid[y][x] == colour)


def check_content(name, g, errors):
    def need(cond, what):
        if not cond:
            errors.append('%s: %s' % (name, what))

    # shared body: black background corners, magenta eyes, stalks and lips
    for x, y in ((0, 0), (W - 1, 0), (0, H - 1)):
        need(g[y][x] == BLACK, 'corner (%d,%d) is not black' % (x, y))
    need(count(g, MAGENTA, 0, 0, 48, 40) > 40, 'left eye has too little magenta')
    need(count(g, MAGENTA, 49, 0, W, 40) > 40, 'right eye has too little magenta')
    need(count(g, RED, 0, 0, W, 40) > 100, 'eyes have no red shading')
    need(count(g, MAGENTA, 20, 40, 40, 55) > 10, 'left stalk missing')
    need(count(g, MAGENTA, 58, 40, 78, 55) > 10, 'right stalk missing')
    need(count(g, MAGENTA, 0, 56, W, H) > 800, 'lips too small')
    need(count(g, MAGENTA, 0, 0, W, 56) < count(g, MAGENTA, 0, 56, W, H),
         'mouth should be the bulk of the lower half')

    # lure: green bulb ringed with yellow below the right corner
    lure = (count(g, GREEN, 78, 88, W, H) + count(g, LIME, 78, 88, W, H) >= 10
            and count(g, YELLOW, 78, 88, W, H) >= 6)
    want_lure = name not in ('imgSleep', 'imgKutta')
    need(lure == want_lure, 'lure should be %s' % ('present' if want_lure else 'absent'))

    teeth = count(g, CYAN, 8, 70, 90, 90)
    if name in ('imgHappy', 'imgKutta', 'imgAngry', 'imgWeep'):
        need(teeth > 80, 'no row of cyan teeth in the grin')
    else:
        need(teeth == 0, 'no cyan teeth expected')

    eye_white = count(g, WHITE, 10, 12, 40, 34) + count(g, WHITE, 58, 12, 88, 34)
    eye_yellow = count(g, YELLOW, 0, 0, W, 40)
    if name == 'imgSleep':
        need(count(g, BLACK, 12, 18, 36, 28) > 20, 'no shut lid line (left)')
        need(eye_white < 12, 'sleeping eyes show white')
        seam = (count(g, WHITE, 10, 70, 88, 82), count(g, GREEN, 10, 70, 88, 82),
                count(g, RED, 10, 70, 88, 82))
        need(min(seam) > 50, 'shut mouth needs its white, green and red line')
        need(count(g, BLACK, 12, 74, 84, 84) == 0, 'shut mouth is open')
    if name == 'imgKutta':
        need(eye_white < 12, 'contented eyes should be closed')
        need(count(g, YELLOW, 0, 55, 20, 80) >= 8, 'no toothpick at the left corner')
        need(count(g, YELLOW, 60, 55, W, 90) == 0, 'yellow at the right corner')
    if name in ('imgHappy', 'imgAngry', 'imgWeep'):
        need(eye_white > 30, 'eyes should show white')
    if name == 'imgHappy':
        # heavy lid: the upper part of the opening is lid, not eye white
        need(count(g, WHITE, 16, 12, 33, 20) < 4, 'lid should cover the top of the eye')
    if name == 'imgAngry':
        # brows: black above the eye, lower toward the middle
        need(count(g, BLACK, 6, 4, 20, 14) > 12, 'left brow missing (outer end)')
        need(count(g, BLACK, 77, 4, 91, 14) > 12, 'right brow missing (outer end)')
    if name == 'imgWeep':
        need(eye_white > count(g, WHITE, 0, 0, W, 40) * 0.8 and eye_white > 400,
             'weeping eyes should be wide and white')
        need(count(g, CYAN, 10, 38, 40, 66) > 30, 'no tears down the left stalk')
        need(count(g, CYAN, 56, 38, 86, 66) > 30, 'no tears down the right stalk')
    if name == 'imgGaoh':
        need(eye_yellow > 400, 'eyes should be large and yellow')
        need(count(g, GREEN, 58, 10, 88, 32) > 20, 'right pupil needs its green ring')
        need(count(g, GREEN, 8, 10, 40, 32) == 0, 'left pupil should be plain black')
        need(count(g, RED, 10, 60, 86, 104) > 600, 'gaping mouth should be red inside')
        need(count(g, WHITE, 10, 60, 86, 104) > 150, 'no white fangs')
        need(all(g[y][46] == BLACK for y in range(80, 88)), 'no black gullet in the centre')
    else:
        need(eye_yellow == 0, 'yellow in the eyes')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    art = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'art')
    errors = []
    grids = {}
    for name in FACES:
        path = os.path.join(art, name + '.xpm')
        if not os.path.exists(path):
            errors.append('%s: missing' % name)
            continue
        g = parse(path, name, errors)
        if g is not None and len(g) == H and all(len(r) == W for r in g):
            grids[name] = g
            check_content(name, g, errors)
    # every face must be its own picture
    names = list(grids)
    for i, a in enumerate(names):
        for b in names[i + 1:]:
            if grids[a] == grids[b]:
                errors.append('%s and %s are identical' % (a, b))
    for e in errors:
        print(e)
    print('%d face(s) checked, %d problem(s)' % (len(grids), len(errors)))
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main())
