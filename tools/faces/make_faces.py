#!/usr/bin/env python3
"""Draws the six Dorgo faces and writes them as XPM files into art/.

    python3 tools/faces/make_faces.py [output-dir]

Every face is built from the same parts: two round eyes on thin stalks
that rise from a wide mouth with thick lips.  The parts are drawn with
simple shape functions; each face only swaps the eye sockets and the
inside of the mouth (and adds the lure, the toothpick or the tears).

Canvas 97 x 113, black background, colours from the 16-colour palette only.
"""

import math
import os
import sys

W, H = 97, 113

# pixel character -> colour (16-colour palette)
PALETTE = {
    '.': '#000000',  # black
    'M': '#800000',  # maroon
    'g': '#008000',  # green
    'o': '#808000',  # olive
    'n': '#000080',  # navy
    'p': '#800080',  # purple
    't': '#008080',  # teal
    'e': '#808080',  # grey
    's': '#C0C0C0',  # silver
    'r': '#FF0000',  # red
    'l': '#00FF00',  # lime
    'y': '#FFFF00',  # yellow
    'b': '#0000FF',  # blue
    'm': '#FF00FF',  # magenta
    'c': '#00FFFF',  # cyan
    'w': '#FFFFFF',  # white
}
# order in which used colours are listed in the header
ORDER = '.Mgonptesrlybmcw'


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self):
        self.px = [['.'] * W for _ in range(H)]

    def set(self, x, y, ch):
        if 0 <= x < W and 0 <= y < H:
            self.px[y][x] = ch

    def get(self, x, y):
        if 0 <= x < W and 0 <= y < H:
            return self.px[y][x]
        return '.'

    def rows(self):
        return [''.join(r) for r in self.px]


def checker(x, y):
    return (x + y) & 1


# light comes from the upper left, slightly in front
LIGHT = (-0.45, -0.6, 0.66)
_ln = math.sqrt(sum(c * c for c in LIGHT))
LIGHT = tuple(c / _ln for c in LIGHT)


def sphere_light(dx, dy, r):
    """Lambert light of a sphere of radius r at offset (dx, dy)."""
    d2 = dx * dx + dy * dy
    z = math.sqrt(max(r * r - d2, 0.0))
    return (dx * LIGHT[0] + dy * LIGHT[1] + z * LIGHT[2]) / r


# ---------------------------------------------------------------- geometry

EYE_R = 17.0          # outer radius of an eye
SOCKET_R = 11.0       # radius of the opening in the middle of an eye
EYES = [(24.0, 21.0), (72.0, 21.0)]   # eye centres, left and right

MOUTH_CX = 48.0       # mouth centre
MOUTH_A = 40.0        # half width, corner to corner
CORNER_Y = 75.0       # height of the mouth corners


def tpos(x):
    return (x + 0.5 - MOUTH_CX) / MOUTH_A


def arch(t):
    """0 at the corners, 1 in the middle, round like an ellipse."""
    return math.sqrt(max(0.0, 1.0 - t * t))


def bow(t):
    return max(0.0, 1.0 - t * t)


# upper lip, the same on every closed or grinning face
def upper_outer(t):
    return CORNER_Y - 12.0 * arch(t)


def upper_inner(t):
    return CORNER_Y + 1.5 * bow(t)


# lower lip of the grin
def grin_inner(t):
    return CORNER_Y + 12.0 * bow(t) ** 0.8


def lower_outer(inner, t):
    return inner + 1.5 + 10.0 * arch(t)


# ---------------------------------------------------------------- parts

def draw_stalk(cv, x0, y0, x1, y1, width=5.0):
    """A thin fleshy stalk from (x0, y0) (eye) to (x1, y1) (lip)."""
    for y in range(int(y0), int(y1) + 1):
        f = (y + 0.5 - y0) / (y1 - y0)
        f = min(max(f, 0.0), 1.0)
        # gentle S-curve between the two ends
        s = f * f * (3 - 2 * f)
        cx = x0 + (x1 - x0) * s
        w = width + 2.0 * f * f          # a little wider where it meets the lip
        for x in range(int(cx - w), int(cx + w) + 2):
            u = (x + 0.5 - cx) / (w / 2)  # -1 .. 1 across the stalk
            if abs(u) > 1.0:
                continue
            if u < -0.72:
                ch = 'p'
            elif u > 0.62:
                ch = 'M' if u > 0.85 else 'p'
            elif u < -0.25 and checker(x, y) and y % 3 == 0:
                ch = 'w' if f < 0.7 else 'm'
            elif u > 0.3:
                ch = 'p' if checker(x, y) else 'm'
            else:
                ch = 'm'
            cv.set(x, y, ch)


def stalk_path(eye, base_x, base_y):
    ex, ey = eye
    return (ex, ey + EYE_R - 3, base_x, base_y)


def stalk_x_at(eye, base_x, base_y, y):
    x0, y0, x1, y1 = stalk_path(eye, base_x, base_y)
    f = min(max((y + 0.5 - y0) / (y1 - y0), 0.0), 1.0)
    s = f * f * (3 - 2 * f)
    return x0 + (x1 - x0) * s


def draw_eye_ball(cv, cx, cy, socket_r=SOCKET_R):
    """The round magenta eye with red shading on its rim.

    Leaves the socket (radius socket_r) for the face to fill in."""
    R = EYE_R
    for y in range(int(cy - R) - 1, int(cy + R) + 2):
        for x in range(int(cx - R) - 1, int(cx + R) + 2):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            if d > R:
                continue
            nd = (dx * -0.55 + dy * -0.83) / max(d, 0.01)
            if d > R - 1.0:
                cv.set(x, y, 'p' if nd > -0.35 else 'M')
                continue
            if d <= socket_r:
                continue
            li = sphere_light(dx, dy, R)
            # magenta ball, red shading round its rim, deeper on the shadow side
            edge = (R - 1.0 - d)
            if li > 0.93 and checker(x, y) == 0:
                ch = 'w'
            elif li > 0.34:
                ch = 'm'
            elif li > 0.22:
                ch = 'r' if checker(x, y) else 'm'
            elif li > 0.06:
                ch = 'r'
            elif li > -0.02:
                ch = 'M' if checker(x, y) else 'r'
            else:
                ch = 'M'
            if edge < 1.0 and ch in 'mw':
                ch = 'r' if nd < 0.75 or checker(x, y) else 'm'
            elif edge < 2.0 and ch == 'm' and nd < 0.3 and checker(x, y):
                ch = 'r'
            # a dark lip of the socket, the opening sits deep in the eye
            if d <= socket_r + 1.0:
                ch = 'p' if dy < 0 else ('M' if checker(x, y) else 'p')
            cv.set(x, y, ch)


def socket_pixels(cx, cy, r=SOCKET_R):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            if math.hypot(dx, dy) <= r:
                yield x, y, dx, dy


def fill_lid(cv, cx, cy, r=SOCKET_R):
    """Red eyelid filling the socket, shaded as a ball."""
    for x, y, dx, dy in socket_pixels(cx, cy, r):
        li = sphere_light(dx, dy, r)
        d = math.hypot(dx, dy)
        if li > 0.9 and checker(x, y) == 0:
            ch = 'm'
        elif li > 0.2:
            ch = 'r'
        elif li > 0.0:
            ch = 'M' if checker(x, y) else 'r'
        else:
            ch = 'M'
        if d > r - 1.0 and dy < -2:
            ch = 'M'
        cv.set(x, y, ch)


def thick_curve(cv, pts, ch, thick=1.0):
    """Stamps discs of diameter thick along a polyline."""
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 3) + 1
        for i in range(n + 1):
            f = i / n
            x = x0 + (x1 - x0) * f
            y = y0 + (y1 - y0) * f
            rr = thick / 2.0
            for yy in range(int(math.floor(y - rr)), int(math.ceil(y + rr)) + 1):
                for xx in range(int(math.floor(x - rr)), int(math.ceil(x + rr)) + 1):
                    if math.hypot(xx + 0.5 - x, yy + 0.5 - y) <= rr + 0.05:
                        cv.set(xx, yy, ch)


def draw_disc(cv, cx, cy, r, ch):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                cv.set(x, y, ch)


# ---------------------------------------------------------------- lips

def shade_upper_lip(x, y, top, bot, t):
    """Colour of a pixel of the upper lip, top..bot its vertical extent."""
    h = bot - top
    v = (y + 0.5 - top) / max(h, 0.5)
    at = abs(t)
    if y + 0.5 - top < 1.0:
        return 'p'                       # outline on the top edge
    if bot - (y + 0.5) < 1.0:
        return 'M'                       # dark edge where it meets the mouth
    if v > 0.72:
        return 'p' if v > 0.85 or checker(x, y) else 'm'
    if at > 0.88:
        return 'p' if at > 0.94 or checker(x, y) else 'm'
    if 0.2 < v < 0.42 and -0.75 < t < 0.05:
        # highlight on the upper left of the lip
        if checker(x, y) == 0 and (t > -0.6 or y % 2 == 0):
            return 'w'
    if t > 0.45 and v > 0.5 and checker(x, y):
        return 'p'
    return 'm'


def shade_lower_lip(x, y, top, bot, t):
    h = bot - top
    v = (y + 0.5 - top) / max(h, 0.5)
    at = abs(t)
    if bot - (y + 0.5) < 1.0:
        return 'M'                       # outline on the bottom edge
    if y + 0.5 - top < 1.0:
        return 'p'                       # inner edge, in the mouth's shadow
    if v > 0.68:
        return 'p' if v > 0.82 or checker(x, y) else 'm'
    if at > 0.86:
        return 'p' if at > 0.93 or checker(x, y) else 'm'
    if 0.2 < v < 0.4 and -0.65 < t < 0.15:
        if checker(x, y) == 0 and (t > -0.5 or y % 2 == 0):
            return 'w'
    if v < 0.2 and checker(x, y):
        return 'p'
    if t > 0.5 and v > 0.45 and checker(x, y):
        return 'p'
    return 'm'


def draw_upper_lip(cv):
    for x in range(W):
        t = tpos(x)
        if abs(t) > 1.0:
            continue
        top, bot = upper_outer(t), upper_inner(t)
        for y in range(int(top) - 1, int(bot) + 2):
            if top <= y + 0.5 < bot:
                cv.set(x, y, shade_upper_lip(x, y, top, bot, t))


def draw_lower_lip(cv, inner):
    for x in range(W):
        t = tpos(x)
        if abs(t) > 1.0:
            continue
        top = inner(t)
        bot = lower_outer(top, t)
        for y in range(int(top) - 1, int(bot) + 2):
            if top <= y + 0.5 < bot:
                cv.set(x, y, shade_lower_lip(x, y, top, bot, t))


def draw_corners(cv):
    """Round off the two corners of the mouth with a dark dimple."""
    for sx in (-1, 1):
        x = int(MOUTH_CX + sx * MOUTH_A - (0.5 if sx > 0 else -0.5))
        cv.set(x, int(CORNER_Y), 'p')
        cv.set(x - sx, int(CORNER_Y), 'M')


def draw_shut_mouth(cv):
    """Lips pressed together: a thin white, green and red line between them."""
    def seam(t):
        return upper_inner(t)
    draw_upper_lip(cv)
    draw_lower_lip(cv, lambda t: math.floor(seam(t)) + 3.0)
    for x in range(W):
        t = tpos(x)
        if abs(t) > 0.97:
            continue
        y = int(seam(t))
        cv.set(x, y, 'w' if abs(t) < 0.9 else 'p')
        cv.set(x, y + 1, 'g' if abs(t) < 0.93 else 'M')
        cv.set(x, y + 2, 'r' if abs(t) < 0.95 else 'M')
    draw_corners(cv)


def draw_grin(cv):
    """Open grin with a row of pointed cyan teeth hanging from the upper lip."""
    draw_upper_lip(cv)
    draw_lower_lip(cv, grin_inner)
    # inside of the mouth: dark, a little maroon deep down
    for x in range(W):
        t = tpos(x)
        if abs(t) > 1.0:
            continue
        top, bot = upper_inner(t), grin_inner(t)
        for y in range(int(top), int(bot) + 1):
            if top <= y + 0.5 < bot:
                v = (y + 0.5 - top) / max(bot - top, 0.5)
                ch = '.'
                if v > 0.7 and abs(t) < 0.7:
                    ch = 'M' if (v > 0.85 or checker(x, y)) else '.'
                cv.set(x, y, ch)
    # teeth: pointed triangles, cyan with teal on the shadow side
    tooth_w = 6.0
    n = 12
    span = 2 * MOUTH_A * 0.86
    x_start = MOUTH_CX - span / 2
    for i in range(n):
        tx0 = x_start + i * span / n
        tcx = tx0 + span / n / 2
        t = (tcx - MOUTH_CX) / MOUTH_A
        top = upper_inner(t)
        room = grin_inner(t) - top
        th = min(6.0, room * 0.62)
        if th < 1.5:
            continue
        for x in range(int(tx0) - 1, int(tx0 + tooth_w) + 2):
            for y in range(int(top) - 1, int(top + th) + 2):
                tt = tpos(x)
                if y + 0.5 < upper_inner(tt) or y + 0.5 > grin_inner(tt):
                    continue
                fy = (y + 0.5 - top) / th
                if fy < 0 or fy > 1:
                    continue
                half = (tooth_w / 2) * (1 - fy) + 0.35
                u = x + 0.5 - tcx
                if abs(u) > half:
                    continue
                if u > half - 1.2 and half > 1.0:
                    ch = 't'
                elif u < -half + 1.6 and fy < 0.5 and half > 2:
                    ch = 'w' if fy < 0.25 else 'c'
                else:
                    ch = 'c'
                cv.set(x, y, ch)
    draw_corners(cv)


# ---------------------------------------------------------------- gaping mouth

GAOH_CX, GAOH_CY = 46.0, 82.0
GAOH_A, GAOH_B = 40.0, 29.0        # outer half width / half height
GAOH_LIP = 9.0


def draw_gaping_mouth(cv):
    cx, cy, A, B = GAOH_CX, GAOH_CY, GAOH_A, GAOH_B
    ia, ib = A - GAOH_LIP, B - GAOH_LIP + 1.0
    for y in range(int(cy - B) - 1, int(cy + B) + 2):
        for x in range(int(cx - A) - 1, int(cx + A) + 2):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            ro = math.hypot(dx / A, dy / B)
            if ro > 1.0:
                continue
            ri = math.hypot(dx / ia, dy / ib)
            ang = math.atan2(dy, dx)
            if ri > 1.0:
                # the lip ring, shaded like a fat tube lit from the upper left
                v = (1.0 - ro) / (1.0 - ro / ri)   # 0 outer edge .. 1 inner edge
                lit = -math.sin(ang) * 0.8 - math.cos(ang) * 0.6  # >0 on upper left
                outer_px = (1.0 - ro) * min(A, B)
                if outer_px < 1.0:
                    ch = 'p' if lit > -0.2 else 'M'
                elif v > 0.88:
                    ch = 'M'
                elif v > 0.74:
                    ch = 'p' if checker(x, y) or v > 0.82 else 'm'
                elif 0.22 < v < 0.48 and lit > 0.62 and checker(x, y) == 0:
                    ch = 'w'
                elif lit < -0.45 and v > 0.5 and checker(x, y):
                    ch = 'p'
                else:
                    ch = 'm'
                cv.set(x, y, ch)
            else:
                # red throat, darker where it meets the lips and round the gullet
                g = math.hypot(dx / 12.0, (dy - 2.0) / 9.0)
                if ri > 0.94:
                    ch = 'M'
                elif g <= 1.0:
                    ch = '.'                       # black gullet
                elif g <= 1.22:
                    ch = 'M'
                elif g <= 1.5:
                    ch = 'M' if checker(x, y) else 'r'
                else:
                    ch = 'r'
                cv.set(x, y, ch)
    # white fangs all round, pointing to the middle
    nf = 18
    for i in range(nf):
        a = 2 * math.pi * (i + 0.5) / nf
        # skip the two fangs sitting right in the corners
        if abs(math.cos(a)) > 0.97:
            continue
        bx = cx + ia * math.cos(a)
        by = cy + ib * math.sin(a)
        # fang length: longer at top and bottom (canines near the front)
        L = 7.0 + 3.0 * abs(math.sin(a))
        if i in (2, 6, 11, 15):
            L += 3.0
        tx = cx + (ia - L * 1.2) * math.cos(a)
        ty = cy + (ib - L) * math.sin(a)
        # base half width
        hw = 3.2
        # unit tangent of the ellipse at the base
        ex, ey = -math.sin(a) * ia, math.cos(a) * ib
        el = math.hypot(ex, ey)
        ex, ey = ex / el, ey / el
        b1 = (bx + ex * hw - math.cos(a) * 0.5, by + ey * hw - math.sin(a) * 0.5)
        b2 = (bx - ex * hw - math.cos(a) * 0.5, by - ey * hw - math.sin(a) * 0.5)
        fill_triangle(cv, b1, b2, (tx, ty), fang_shade)


def fang_shade(x, y, bary):
    # bary: weights of (b1, b2, tip); side near b2 shaded
    w1, w2, w3 = bary
    if w2 > 0.55 and w3 < 0.6:
        return 's'
    if w1 > 0.5 and w3 < 0.35:
        return 'w'
    return 'w' if w2 < 0.45 else ('s' if checker(x, y) else 'w')


def fill_triangle(cv, a, b, c, shade):
    xs = [a[0], b[0], c[0]]
    ys = [a[1], b[1], c[1]]
    det = (b[1] - c[1]) * (a[0] - c[0]) + (c[0] - b[0]) * (a[1] - c[1])
    if abs(det) < 1e-9:
        return
    for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
        for x in range(int(min(xs)) - 1, int(max(xs)) + 2):
            px, py = x + 0.5, y + 0.5
            w1 = ((b[1] - c[1]) * (px - c[0]) + (c[0] - b[0]) * (py - c[1])) / det
            w2 = ((c[1] - a[1]) * (px - c[0]) + (a[0] - c[0]) * (py - c[1])) / det
            w3 = 1 - w1 - w2
            if w1 >= -0.02 and w2 >= -0.02 and w3 >= -0.02:
                cv.set(x, y, shade(x, y, (w1, w2, w3)))


# ---------------------------------------------------------------- extras

def draw_lure(cv, corner_x, corner_y, bulb_x, bulb_y):
    """The little bait: a thin filament ending in a green bulb ringed with yellow."""
    pts = []
    n = 20
    for i in range(n + 1):
        f = i / n
        # hangs down from the corner, bowing outward
        x = corner_x + (bulb_x - corner_x) * math.sin(f * math.pi / 2)
        y = corner_y + (bulb_y - 5.0 - corner_y) * f
        pts.append((x, y))
    thick_curve(cv, [(x + 0.6, y) for x, y in pts], 'p', 1.0)
    thick_curve(cv, pts, 'm', 1.0)
    # a lighter line on the lit side for the top half of the filament
    r = 5.0
    for y in range(int(bulb_y - r) - 1, int(bulb_y + r) + 2):
        for x in range(int(bulb_x - r) - 1, int(bulb_x + r) + 2):
            dx, dy = x + 0.5 - bulb_x, y + 0.5 - bulb_y
            d = math.hypot(dx, dy)
            if d > r:
                continue
            if d > r - 1.3:
                ch = 'y' if (dx + dy < 2.5 or checker(x, y)) else 'o'
            else:
                li = sphere_light(dx, dy, r - 1.3)
                if li > 0.92:
                    ch = 'w'
                elif li > 0.6:
                    ch = 'l'
                elif li > 0.35:
                    ch = 'l' if checker(x, y) else 'g'
                else:
                    ch = 'g'
            cv.set(x, y, ch)


def draw_toothpick(cv):
    """A pale yellow toothpick poking out of the left corner of the mouth."""
    x0, y0 = 15.0, 77.0      # held in the corner of the lips
    x1, y1 = 0.5, 63.5       # the free end
    dx, dy = x1 - x0, y1 - y0
    L = math.hypot(dx, dy)
    ux, uy = dx / L, dy / L
    nx, ny = -uy, ux         # across the stick
    for y in range(0, H):
        for x in range(0, 30):
            px, py = x + 0.5 - x0, y + 0.5 - y0
            along = px * ux + py * uy
            across = px * nx + py * ny
            if along < 0 or along > L:
                continue
            half = 1.8
            if along > L - 3.0:
                half = 1.8 * (L - along) / 3.0 + 0.3
            if abs(across) > half:
                continue
            if across < -0.7:
                ch = 'w'
            elif across > 0.7:
                ch = 's' if checker(x, y) else 'o'
            else:
                ch = 'y' if checker(x, y) else 'w'
            cv.set(x, y, ch)


def draw_tears(cv, eye, base_x, base_y):
    """Streams of cyan tears running from the eye down along the stalk."""
    ex, ey = eye
    for side, phase in ((-1, 0.0), (1, 1.7)):
        y_start = ey + SOCKET_R - 1
        for y in range(int(y_start), int(base_y) + 4):
            sx = stalk_x_at(eye, base_x, base_y, y)
            f = (y - y_start) / (base_y - y_start)
            off = side * (3.6 + 1.2 * f) + 0.6 * math.sin(y * 0.5 + phase)
            x = int(round(sx + off - 0.5))
            if y < ey + EYE_R - 1:
                # still on the eye: follow the curve of the ball
                x = int(round(ex + side * (4.0 + (y - y_start) * 0.6) - 0.5))
            cv.set(x, y, 'c')
            cv.set(x + (1 if side > 0 else -1), y, 't' if side > 0 else 'c')
            if y % 5 == 0:
                cv.set(x - (1 if side > 0 else -1), y, 'w')
        # a drop gathering at the lip
        dyp = base_y + 4
        dxp = stalk_x_at(eye, base_x, base_y, base_y) + side * 5.5
        draw_drop(cv, dxp, dyp)


def draw_drop(cv, x, y):
    for yy in range(int(y) - 3, int(y) + 3):
        for xx in range(int(x) - 3, int(x) + 3):
            dx, dy = xx + 0.5 - x, yy + 0.5 - y
            # teardrop: round bottom, pointed top
            if dy > 0:
                inside = math.hypot(dx, dy) <= 2.2
            else:
                inside = abs(dx) <= 2.2 * (1 + dy / 3.5)
            if inside:
                ch = 'c'
                if dx > 0.8 and dy > 0:
                    ch = 't'
                if dx < -0.5 and -1 < dy < 1:
                    ch = 'w'
                cv.set(xx, yy, ch)


# ---------------------------------------------------------------- eye faces

def eye_sleep(cv, cx, cy, side):
    fill_lid(cv, cx, cy)
    # the shut lid: a black line across, drooping a little
    pts = [(cx - SOCKET_R - 1, cy + 0.5), (cx - 5, cy + 2.5), (cx, cy + 3.0),
           (cx + 5, cy + 2.5), (cx + SOCKET_R + 1, cy + 0.5)]
    thick_curve(cv, pts, '.', 1.6)
    # lashes hanging from the line
    for lx in (-6, -2, 2, 6):
        x = int(cx + lx)
        y = int(cy + 3.0 + (0 if abs(lx) < 4 else -0.5)) + 1
        cv.set(x, y + 1, '.')
        cv.set(x + (1 if lx > 0 else -1) * 0, y + 2, '.')


def eye_happy(cv, cx, cy, side):
    fill_lid(cv, cx, cy)
    # lower half open: small white eye with a black pupil
    lid_y = cy + 0.5
    for x, y, dx, dy in socket_pixels(cx, cy, SOCKET_R - 1.0):
        if y + 0.5 > lid_y + 0.25 * abs(dx) * 0 + 1.0:
            d = math.hypot(dx, dy)
            cv.set(x, y, 's' if (dy > 7.0 or d > SOCKET_R - 2.0) and checker(x, y) else 'w')
    draw_disc(cv, cx + 1.5 * side * 0, cy + 4.5, 3.6, '.')
    cv.set(int(cx) - 2, int(cy + 3), 'w')
    # heavy lid edge
    pts = [(cx - SOCKET_R + 0.3, lid_y + 1.5), (cx - 5, lid_y + 0.5), (cx, lid_y + 0.2),
           (cx + 5, lid_y + 0.5), (cx + SOCKET_R - 0.3, lid_y + 1.5)]
    thick_curve(cv, pts, '.', 2.0)
    # a crease on the lid
    for x in range(int(cx - 6), int(cx + 7)):
        yy = int(cy - 5 + 0.08 * (x + 0.5 - cx) ** 2)
        if cv.get(x, yy) in 'rmM':
            cv.set(x, yy, 'M')


def eye_kutta(cv, cx, cy, side):
    fill_lid(cv, cx, cy)
    # closed, a contented arc bulging upward
    pts = []
    for i in range(17):
        a = math.pi * (1.0 + i / 16.0)
        pts.append((cx + 7.5 * math.cos(a), cy + 4.0 + 6.5 * math.sin(a)))
    thick_curve(cv, pts, '.', 2.4)


def eye_angry(cv, cx, cy, side):
    fill_lid(cv, cx, cy)
    # narrowed eye: a white slit, its top edge cut by the slanted brow line
    inner = side  # +1 for the left eye (its inner side is to the right)
    for x, y, dx, dy in socket_pixels(cx, cy, SOCKET_R - 0.5):
        top = 0.0 + 0.35 * dx * inner - 0.5      # slanted top edge
        bot = 4.5 - 0.03 * dx * dx
        if top < dy + 0.0 < bot:
            cv.set(x, y, 'w' if dy > top + 1 or checker(x, y) else 's')
    draw_disc(cv, cx + 1.5 * inner, cy + 2.6, 2.2, '.')
    # heavy slanted brow: high on the outside, low toward the middle
    x_out = cx - inner * (EYE_R - 1)
    x_in = cx + inner * (EYE_R - 3)
    pts = [(x_out, cy - 12.0), (cx, cy - 5.0), (x_in, cy + 0.5)]
    thick_curve(cv, pts, '.', 4.2)


def eye_weep(cv, cx, cy, side):
    # wide open and white
    for x, y, dx, dy in socket_pixels(cx, cy, SOCKET_R):
        d = math.hypot(dx, dy)
        ch = 'w'
        if d > SOCKET_R - 1.5 and (dx + dy > 2 or checker(x, y)):
            ch = 's'
        if d > SOCKET_R - 0.8 and dy < -3:
            ch = 'e'
        cv.set(x, y, ch)
    # small pupil looking up, wet and shiny
    draw_disc(cv, cx + 0.5 * side, cy - 0.5, 3.4, '.')
    cv.set(int(cx - 1 + 0.5 * side), int(cy - 2), 'w')
    cv.set(int(cx + 1 + 0.5 * side), int(cy + 1), 'e')
    # pooling water along the lower rim
    for x, y, dx, dy in socket_pixels(cx, cy, SOCKET_R):
        d = math.hypot(dx, dy)
        if dy > 6.0 and d > SOCKET_R - 2.2:
            cv.set(x, y, 'c')


def eye_gaoh(cv, cx, cy, side):
    # large yellow eye taking the whole opening
    r = SOCKET_R + 2.0
    for x, y, dx, dy in socket_pixels(cx, cy, r):
        d = math.hypot(dx, dy)
        li = sphere_light(dx, dy, r)
        if d > r - 1.0:
            ch = 'o'
        elif li < 0.35 and checker(x, y):
            ch = 'o'
        else:
            ch = 'y'
        cv.set(x, y, ch)
    if side > 0:
        # left eye: plain black pupil
        draw_disc(cv, cx + 1.0, cy + 0.5, 4.5, '.')
    else:
        # right eye: black pupil in a green ring
        draw_disc(cv, cx - 1.0, cy + 0.5, 6.6, 'g')
        for x, y, dx, dy in socket_pixels(cx - 1.0, cy + 0.5, 6.6):
            if sphere_light(dx, dy, 6.6) > 0.75 and checker(x, y) == 0:
                cv.set(x, y, 'l')
        draw_disc(cv, cx - 1.0, cy + 0.5, 3.6, '.')
    cv.set(int(cx - 4), int(cy - 4), 'w')
    cv.set(int(cx - 3), int(cy - 4), 'w')
    cv.set(int(cx - 4), int(cy - 3), 'w')


# ---------------------------------------------------------------- faces

STALK_BASE = [(28.5, None), (67.5, None)]


def stalk_base_y(bx, gaping):
    if gaping:
        dx = (bx - GAOH_CX) / GAOH_A
        return GAOH_CY - GAOH_B * math.sqrt(max(0.0, 1 - dx * dx)) + 2.0
    return upper_outer(tpos(int(bx))) + 2.0


def face(eye_fn, mouth, lure=False, toothpick=False, tears=False):
    cv = Canvas()
    gaping = mouth == 'gaoh'
    bases = [(bx, stalk_base_y(bx, gaping)) for bx, _ in STALK_BASE]
    for eye, (bx, by) in zip(EYES, bases):
        draw_stalk(cv, *stalk_path(eye, bx, by))
    if mouth == 'shut':
        draw_shut_mouth(cv)
    elif mouth == 'grin':
        draw_grin(cv)
    else:
        draw_gaping_mouth(cv)
    for eye, side in zip(EYES, (1, -1)):
        socket = SOCKET_R + (2.0 if eye_fn is eye_gaoh else 0.0)
        draw_eye_ball(cv, eye[0], eye[1], socket)
        eye_fn(cv, eye[0], eye[1], side)
    if tears:
        for eye, (bx, by) in zip(EYES, bases):
            draw_tears(cv, eye, bx, by)
    if toothpick:
        draw_toothpick(cv)
    if lure:
        if gaping:
            draw_lure(cv, GAOH_CX + GAOH_A - 3.0, GAOH_CY + 5.0, 90.0, 104.0)
        else:
            draw_lure(cv, MOUTH_CX + MOUTH_A - 2.0, CORNER_Y + 4.0, 90.0, 101.0)
    return cv


FACES = [
    ('imgSleep', lambda: face(eye_sleep, 'shut')),
    ('imgHappy', lambda: face(eye_happy, 'grin', lure=True)),
    ('imgKutta', lambda: face(eye_kutta, 'grin', toothpick=True)),
    ('imgAngry', lambda: face(eye_angry, 'grin', lure=True)),
    ('imgWeep', lambda: face(eye_weep, 'grin', lure=True, tears=True)),
    ('imgGaoh', lambda: face(eye_gaoh, 'gaoh', lure=True)),
]


def to_xpm(name, rows):
    used = sorted({ch for r in rows for ch in r}, key=lambda c: ORDER.index(c))
    out = ['/* XPM */',
           'static const char *const %s_xpm[] = {' % name,
           '"%d %d %d 1",' % (W, H, len(used))]
    for ch in used:
        out.append('"%s c %s",' % (ch, PALETTE[ch]))
    for i, r in enumerate(rows):
        out.append('"%s"%s' % (r, ',' if i < len(rows) - 1 else ''))
    out.append('};')
    return '\n'.join(out) + '\n'


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'art')
    for name, make in FACES:
        cv = make()
        path = os.path.join(outdir, name + '.xpm')
        with open(path, 'w', newline='\n') as f:
            f.write(to_xpm(name, cv.rows()))
        print('wrote', os.path.normpath(path))


if __name__ == '__main__':
    main()
