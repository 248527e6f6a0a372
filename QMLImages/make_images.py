#!/usr/bin/python3
"""Draws the interface's images into QMLImages/Default/.

Every picture is simple line art drawn here from geometry (no third-party
artwork): module tiles as white symbols on a coloured rounded square, so they
read on the dark and on the light palette; header symbols (home, clock, GPS)
as white line art for the coloured header; the zoom symbols in light grey and,
for the light palette, in red.

Needs the Debian package python3-pil. Run from anywhere:

    /usr/bin/python3 QMLImages/make_images.py

The output is reproducible.
"""

import math
import os

from PIL import Image, ImageDraw

SIZE = 96          # pixels of every image
SCALE = 4          # drawn at four times the size, then reduced (anti-aliasing)
WHITE = (255, 255, 255, 255)
LIGHT = (224, 224, 224, 255)
RED = (255, 51, 51, 255)


class Canvas:
    """A SIZE x SIZE drawing surface in image units, supersampled."""

    def __init__(self):
        self.image = Image.new("RGBA", (SIZE * SCALE, SIZE * SCALE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _p(points):
        return [(x * SCALE, y * SCALE) for x, y in points]

    def tile(self, colour):
        self.draw.rounded_rectangle([4 * SCALE, 4 * SCALE, 92 * SCALE, 92 * SCALE],
                                    radius=18 * SCALE, fill=colour)

    def line(self, points, width=5, colour=WHITE):
        pts = self._p(points)
        self.draw.line(pts, fill=colour, width=int(width * SCALE), joint="curve")
        r = width * SCALE / 2
        for x, y in (pts[0], pts[-1]):
            self.draw.ellipse([x - r, y - r, x + r, y + r], fill=colour)

    def polygon(self, points, colour=WHITE):
        self.draw.polygon(self._p(points), fill=colour)

    def circle(self, cx, cy, r, width=5, colour=WHITE, fill=None):
        box = [(cx - r) * SCALE, (cy - r) * SCALE, (cx + r) * SCALE, (cy + r) * SCALE]
        if fill is not None:
            self.draw.ellipse(box, fill=fill)
        if width:
            self.draw.ellipse(box, outline=colour, width=int(width * SCALE))

    def rect(self, x0, y0, x1, y1, width=5, colour=WHITE, fill=None, radius=3):
        box = [x0 * SCALE, y0 * SCALE, x1 * SCALE, y1 * SCALE]
        self.draw.rounded_rectangle(box, radius=radius * SCALE, fill=fill,
                                    outline=colour if width else None,
                                    width=int(width * SCALE) if width else 0)

    def wave(self, x0, x1, yc, amplitude, cycles, width=5, colour=WHITE, shape=None):
        """The curve y = yc - amplitude * shape(angle, t) from x0 to x1, where
        t runs from 0 to 1 and angle = 2 pi cycles t (a sine by default)."""
        shape = shape or (lambda a, t: math.sin(a))
        steps = 120
        points = [(x0 + (x1 - x0) * i / steps,
                   yc - amplitude * shape(2 * math.pi * cycles * i / steps, i / steps))
                  for i in range(steps + 1)]
        self.line(points, width, colour)

    def arrow_down(self, x, y0, y1, colour=WHITE):
        self.line([(x, y0), (x, y1 - 6)], 5, colour)
        self.polygon([(x - 8, y1 - 9), (x + 8, y1 - 9), (x, y1 + 1)], colour)

    def save(self, path):
        self.image.resize((SIZE, SIZE), Image.LANCZOS).save(path, optimize=True)


def axes(c):
    c.line([(20, 20), (20, 76), (78, 76)], 3, LIGHT)


def quick(c):
    c.tile((51, 153, 255, 255))
    c.line([(16, 48), (80, 48)], 2, LIGHT)
    c.wave(16, 80, 48, 22, 1.5)


def harmonic(c):
    c.tile((153, 102, 204, 255))
    c.line([(16, 48), (80, 48)], 2, LIGHT)
    c.wave(16, 80, 48, 14, 1, 2, LIGHT)
    c.wave(16, 80, 48, 16, 1, 5, WHITE, lambda a, t: math.sin(a) + 0.45 * math.sin(3 * a))


def dc_test(c):
    c.tile((0, 150, 136, 255))
    c.line([(18, 38), (78, 38)], 7)
    for x in (18, 40, 62):
        c.line([(x, 60), (x + 12, 60)], 7)


def distance(c):
    c.tile((230, 126, 34, 255))
    c.line([(14, 62), (82, 62)], 3, LIGHT)
    c.line([(34, 84), (34, 12)], 3, LIGHT)
    c.circle(48, 42, 22, 5)
    c.line([(34, 62), (62, 22)], 4)


def sequence(c):
    c.tile((52, 152, 219, 255))
    c.line([(14, 70), (30, 70), (30, 40), (50, 40), (50, 58), (66, 58), (66, 26), (82, 26)], 5)


def overcurrent(c):
    c.tile((231, 76, 60, 255))
    axes(c)
    c.line([(24 + 50 * t, 76 - 52 * (1 - t) ** 3 - 4) for t in [i / 40 for i in range(41)]], 5)


def ramp(c):
    c.tile((39, 174, 96, 255))
    axes(c)
    points = [(24, 70)]
    for i in range(5):
        x, y = 24 + i * 11, 70 - i * 10
        points += [(x + 11, y), (x + 11, y - 10)]
    c.line(points, 5)


def slip_frequency(c):
    c.tile((22, 160, 133, 255))
    c.wave(12, 64, 40, 16, 3, 5, WHITE,
           lambda a, t: math.sin(2 * math.pi * (3 * t - 1.2 * t * t)))
    c.arrow_down(76, 24, 78)


def slip_voltage(c):
    c.tile((211, 84, 0, 255))
    c.wave(12, 64, 48, 26, 3, 5, WHITE, lambda a, t: (1 - 0.75 * t) * math.sin(a))
    c.arrow_down(76, 24, 78)


def frequency(c):
    c.tile((142, 68, 173, 255))
    c.wave(12, 84, 48, 28, 6, 4, WHITE, lambda a, t: math.sin(math.pi * t) * math.sin(a))
    c.wave(12, 84, 48, 28, 0.5, 2, LIGHT, lambda a, t: math.sin(math.pi * t))
    c.wave(12, 84, 48, 28, 0.5, 2, LIGHT, lambda a, t: -math.sin(math.pi * t))


def energy(c):
    c.tile((243, 156, 18, 255))
    c.rect(18, 16, 78, 80, 5)
    c.rect(26, 24, 70, 40, 3)
    c.polygon([(52, 44), (36, 64), (48, 64), (42, 78), (60, 56), (48, 56), (54, 44)])


def file_manage(c):
    c.tile((127, 140, 141, 255))
    c.polygon([(14, 28), (38, 28), (44, 34), (82, 34), (82, 74), (14, 74)])
    c.rect(14, 40, 82, 76, 0, fill=(236, 240, 241, 255), radius=3)


def remote(c):
    c.tile((41, 128, 185, 255))
    c.rect(18, 36, 66, 70, 5)
    c.line([(42, 70), (42, 80)], 5)
    c.line([(30, 82), (54, 82)], 5)
    for r in (10, 18):
        c.draw.arc([(72 - r) * SCALE, (24 - r) * SCALE, (72 + r) * SCALE, (24 + r) * SCALE],
                   200, 340, fill=WHITE, width=4 * SCALE)
    c.circle(72, 24, 3, 0, fill=WHITE)


def aux_dc(c):
    c.tile((192, 57, 43, 255))
    c.rect(16, 30, 74, 70, 5)
    c.rect(74, 42, 82, 58, 0, fill=WHITE, radius=2)
    c.line([(26, 50), (38, 50)], 5)
    c.line([(32, 44), (32, 56)], 5)
    c.line([(52, 50), (64, 50)], 5)


def setting(c):
    c.tile((96, 125, 139, 255))
    points = []
    teeth = 8
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 34 if (i % 4) in (0, 1) else 26
        points.append((48 + r * math.cos(a + math.pi / (teeth * 4)),
                       48 + r * math.sin(a + math.pi / (teeth * 4))))
    c.polygon(points)
    c.circle(48, 48, 11, 0, fill=(96, 125, 139, 255))


def home(c):
    c.line([(12, 48), (48, 16), (84, 48)], 7)
    c.line([(24, 42), (24, 82), (72, 82), (72, 42)], 7)
    c.rect(40, 58, 56, 82, 0, fill=WHITE, radius=2)


def clock(c):
    c.circle(48, 48, 38, 7)
    c.line([(48, 48), (48, 22)], 7)
    c.line([(48, 48), (66, 58)], 7)


def gps(c):
    c.circle(48, 36, 24, 0, fill=WHITE)
    c.polygon([(27, 46), (69, 46), (48, 88)])
    c.circle(48, 36, 10, 0, fill=(0, 0, 0, 0))
    # punch the hole: clear the inner disc
    r = 10 * SCALE
    c.draw.ellipse([48 * SCALE - r, 36 * SCALE - r, 48 * SCALE + r, 36 * SCALE + r], fill=(0, 0, 0, 0))


def zoom(c, colour, plus):
    c.circle(40, 40, 26, 7, colour)
    c.line([(60, 60), (84, 84)], 10, colour)
    c.line([(28, 40), (52, 40)], 6, colour)
    if plus:
        c.line([(40, 28), (40, 52)], 6, colour)


IMAGES = {
    "Home": home,
    "Clock": clock,
    "AuxDC": aux_dc,
    "Setting": setting,
    "DCTest": dc_test,
    "Quick": quick,
    "Harmonic": harmonic,
    "Distance": distance,
    "Sequence": sequence,
    "Overcurrent": overcurrent,
    "Remote": remote,
    "Ramp": ramp,
    "ZoomIn": lambda c: zoom(c, LIGHT, True),
    "ZoomOut": lambda c: zoom(c, LIGHT, False),
    "ZoomIn_Red": lambda c: zoom(c, RED, True),
    "ZoomOut_Red": lambda c: zoom(c, RED, False),
    "GPS": gps,
    "Energy": energy,
    "SlipFrequency": slip_frequency,
    "SlipVoltage": slip_voltage,
    "Frequency": frequency,
    "FileManage": file_manage,
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Default")
    os.makedirs(folder, exist_ok=True)
    for name, paint in sorted(IMAGES.items()):
        canvas = Canvas()
        paint(canvas)
        canvas.save(os.path.join(folder, name + ".png"))
    print("wrote %d images to %s" % (len(IMAGES), folder))


if __name__ == "__main__":
    main()
