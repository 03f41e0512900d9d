#!/usr/bin/env python3
"""Makes every picture that Halvane carries, into assets/ (or the folder given).

    python3 tools/assets/make_assets.py [OUTPUT_FOLDER] [--source MOON_PNG]

Deterministic, Python 3 standard library only. The files it writes are the
ones the build embeds; run it by hand after changing a picture and commit the
result.

  moon.bmp          512 x 256 grey Moon map (south row stored first)
  preview.bmp       152 x 112 preview: the Moon as a warm grey disc on black
  button_*.bmp      six 64 x 25 border pictures of the skinned push button
  mark_off.bmp      12 x 12 empty selection mark
  mark_on.bmp       12 x 12 selection mark filled with blue
  halvane.ico       program icon, 32 x 32 and 16 x 16

The Moon map is the public-domain Stellarium/USGS shaded relief map (see
shared/assets-source/README.md beside the repository), turned to grey, halved by area
averaging and levelled.
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagefiles  # noqa: E402

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The source map lies in the shared folder beside the repository.
DEFAULT_SOURCE = os.path.join(os.path.dirname(REPO_ROOT), "shared", "assets-source",
                              "moon-relief-1024x512.png")

MOON_WIDTH, MOON_HEIGHT = 512, 256
MOON_MEAN = 139.0
# The levels step keeps the darkest and the brightest tenth of a percent of the
# map inside this range, so that hardly any pixel comes near black or white.
MOON_LOW, MOON_HIGH = 32.0, 224.0


def clamp_byte(value):
    """Rounds half up and clamps to 0..255."""
    v = int(math.floor(value + 0.5))
    return 0 if v < 0 else 255 if v > 255 else v


# ---- Moon texture -------------------------------------------------------------

# The source map was put together from two surveys, and one of the joins shows as
# a vertical step in brightness between these two columns of the halved map.
SEAM_COLUMN = 384     # first column right of the join
SEAM_REACH = 16       # columns on each side over which the step is eased out
SEAM_PROBE = 4        # columns on each side that measure the step
SEAM_ROWS = 16        # rows above and below over which the measured step is averaged


def remove_seam(half):
    """Evens out the brightness step at SEAM_COLUMN in place: each side is
    shifted by half the step at the join, fading to no shift SEAM_REACH columns
    away. Only the brightness level moves; no pixel is mixed with another."""
    height = len(half)
    steps = []
    for row in half:
        right = sum(row[SEAM_COLUMN:SEAM_COLUMN + SEAM_PROBE]) / SEAM_PROBE
        left = sum(row[SEAM_COLUMN - SEAM_PROBE:SEAM_COLUMN]) / SEAM_PROBE
        steps.append(right - left)
    for y, row in enumerate(half):
        near = steps[max(0, y - SEAM_ROWS):min(height, y + SEAM_ROWS + 1)]
        step = sum(near) / len(near)
        for d in range(SEAM_REACH):
            shift = 0.5 * step * (SEAM_REACH - d) / SEAM_REACH
            row[SEAM_COLUMN - 1 - d] += shift
            row[SEAM_COLUMN + d] -= shift


def moon_grey(source):
    """The 512 x 256 grey Moon map as rows of byte values, north row first."""
    width, height, rows = imagefiles.read_png(source)
    if (width, height) != (2 * MOON_WIDTH, 2 * MOON_HEIGHT):
        raise imagefiles.PictureError("%s: expected a 1024 x 512 map" % source)
    luma = [[0.299 * r + 0.587 * g + 0.114 * b for r, g, b in row] for row in rows]
    # Area average of each 2 x 2 block: the only smoothing applied.
    half = []
    for y in range(MOON_HEIGHT):
        top, bottom = luma[2 * y], luma[2 * y + 1]
        half.append([(top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1]) / 4.0
                     for x in range(MOON_WIDTH)])
    remove_seam(half)
    values = sorted(v for row in half for v in row)
    count = len(values)
    mean = sum(values) / count
    darkest = values[count // 1000]
    brightest = values[count - 1 - count // 1000]
    # Linear levels around the mean: shift it to MOON_MEAN and stretch the contrast
    # as far as the tails allow.
    gain = min((MOON_HIGH - MOON_MEAN) / (brightest - mean),
               (MOON_MEAN - MOON_LOW) / (mean - darkest))
    return [[clamp_byte(MOON_MEAN + gain * (v - mean)) for v in row] for row in half]


# ---- rendering the sphere (preview and icon) ------------------------------------

# The saver's sphere has its north pole tilted 15 degrees toward the viewer and
# shows longitude 90 degrees (texture s = 0.75) in front at the start.
TILT = math.radians(15.0)


def sample_moon(moon, s, t):
    """Bilinear sample of the grey map at texture coordinates s (wrapping) and
    t (0 south, 1 north, clamped)."""
    x = (s % 1.0) * MOON_WIDTH - 0.5
    y = (1.0 - t) * MOON_HEIGHT - 0.5  # rows are north first
    y = min(max(y, 0.0), MOON_HEIGHT - 1.0)
    x0 = int(math.floor(x))
    y0 = int(math.floor(y))
    fx, fy = x - x0, y - y0
    y1 = min(y0 + 1, MOON_HEIGHT - 1)
    xa, xb = x0 % MOON_WIDTH, (x0 + 1) % MOON_WIDTH
    top = moon[y0][xa] * (1 - fx) + moon[y0][xb] * fx
    bottom = moon[y1][xa] * (1 - fx) + moon[y1][xb] * fx
    return top * (1 - fy) + bottom * fy


def render_sphere(moon, width, height, cx, cy, radius, tint, background, samples=4):
    """An orthographic view of the textured Moon, tilted like the saver shows it
    in its first frame, antialiased by samples x samples supersampling.

    Returns rows of (r, g, b) bytes. tint scales the grey per channel.
    """
    cos_t, sin_t = math.cos(TILT), math.sin(TILT)
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    X = (px + (sx + 0.5) / samples - cx) / radius
                    Y = (cy - (py + (sy + 0.5) / samples)) / radius
                    rr = X * X + Y * Y
                    if rr >= 1.0:
                        for c in range(3):
                            acc[c] += background[c]
                        continue
                    Z = math.sqrt(1.0 - rr)
                    # Undo the tilt about the x axis to reach the sphere's own frame.
                    y = Y * cos_t + Z * sin_t
                    z = -Y * sin_t + Z * cos_t
                    lat = math.asin(max(-1.0, min(1.0, y)))
                    lon = math.atan2(z, X)
                    s = 1.0 - lon / (2.0 * math.pi)
                    t = (lat + math.pi / 2.0) / math.pi
                    grey = sample_moon(moon, s, t)
                    for c in range(3):
                        acc[c] += min(255.0, grey * tint[c])
            n = samples * samples
            row.append(tuple(clamp_byte(a / n) for a in acc))
        rows.append(row)
    return rows


PREVIEW_WIDTH, PREVIEW_HEIGHT = 152, 112
PREVIEW_RADIUS = 53.0
PREVIEW_TINT = (1.36, 1.27, 1.12)  # light and warm: the mean grey 139 becomes about #BDB09C


def make_preview(moon):
    return render_sphere(moon, PREVIEW_WIDTH, PREVIEW_HEIGHT,
                         PREVIEW_WIDTH / 2.0, PREVIEW_HEIGHT / 2.0, PREVIEW_RADIUS,
                         PREVIEW_TINT, (0, 0, 0))


# ---- button state pictures --------------------------------------------------------

BUTTON_WIDTH, BUTTON_HEIGHT = 64, 25
RING = 4


def rgb(text):
    value = int(text.lstrip("#"), 16)
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


OUTLINE = "#003C74"

# Ring colours of each side, outermost pixel first. Where two inner columns
# "blend from A to B", A is the outer and B the inner of the two columns.
BUTTONS = {
    "normal": dict(outline=1, face="#F4F3EE",
                   top=["#DCD6C2", OUTLINE, "#F3F3EE", "#F3F3EE"],
                   bottom=["#FAFAF6", OUTLINE, "#D6D0C5", "#E2DFD6"],
                   left=["#E2DECB", OUTLINE, "#FDFDFC", "#ECEBE6"],
                   right=["#F0EEE0", OUTLINE, "#F6F4F2", "#E0DDD4"]),
    "highlight": dict(outline=1, face="#F4F3EE",
                      top=["#DCD6C2", OUTLINE, "#FFF0CF", "#FDD889"],
                      bottom=["#FAFAF6", OUTLINE, "#E59700", "#F8B330"],
                      left=["#E2DECB", OUTLINE, "#FEDF9A", "#F8B230"],
                      right=["#F0EEE0", OUTLINE, "#FEDF9A", "#F8B230"]),
    "selected": dict(outline=1, face="#F4F3EE",
                     top=["#DCD6C2", OUTLINE, "#CEE7FF", "#CEE7FF"],
                     bottom=["#FAFAF6", OUTLINE, "#6982EE", "#6982EE"],
                     left=["#E2DECB", OUTLINE, "#B7D0F4", "#8BADE4"],
                     right=["#F0EEE0", OUTLINE, "#B7D0F4", "#8BADE4"]),
    "pressed": dict(outline=2, face="#E6E3DA",
                    top=["#ECE9D8", "#DCD6C2", OUTLINE, "#D1CCC1"],
                    bottom=["#ECE9D8", "#FAFAF6", OUTLINE, "#F2F1EE"],
                    left=["#ECE9D8", "#E2DECB", OUTLINE, "#D7D4CB"],
                    right=["#ECE9D8", "#F0EEE0", OUTLINE, "#E4E3DC"]),
    "disable": dict(outline=1, face="#F5F4EA",
                    top=["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"],
                    bottom=["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"],
                    left=["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"],
                    right=["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"]),
}
BUTTONS["highlightselect"] = BUTTONS["highlight"]


def mix(a, b, share_b):
    return tuple(x * (1.0 - share_b) + y * share_b for x, y in zip(a, b))


def corner_colour(a, b, across, along, outline_ring):
    """The colour of a pixel of a 4 x 4 corner block.

    a counts columns in from the vertical outer edge, b rows in from the
    horizontal outer edge; along is the ring list of the top or bottom side,
    across that of the left or right side. The outline cuts the block on the
    diagonal a + b = 4 (shifted by one for a pressed outline), and the pixels
    outside it take the frame colour of the nearer side (the horizontal side
    on a tie, so the corner pixel itself has that side's frame colour).
    """
    shift = outline_ring - 1
    if a < shift or b < shift:          # the extra outer row and column
        return rgb(along[0]) if b <= a else rgb(across[0])
    a, b = a - shift, b - shift
    frame = shift                         # ring of the frame colour
    outline = rgb(along[outline_ring])
    nearer_frame = rgb(along[frame]) if b <= a else rgb(across[frame])
    if a == 0 or b == 0 or a + b < 3:
        return nearer_frame
    if a + b == 3:                        # softens the step outside the outline
        return mix(nearer_frame, outline, 0.5)
    if a + b == 4:
        return outline
    return mix(rgb(across[a + shift]), rgb(along[b + shift]), 0.5)


def make_button(style):
    w, h = BUTTON_WIDTH, BUTTON_HEIGHT
    face = rgb(style["face"])
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            from_left, from_right = x, w - 1 - x
            from_top, from_bottom = y, h - 1 - y
            a = min(from_left, from_right)
            b = min(from_top, from_bottom)
            across = style["left"] if from_left <= from_right else style["right"]
            along = style["top"] if from_top <= from_bottom else style["bottom"]
            if a < RING and b < RING:
                colour = corner_colour(a, b, across, along, style["outline"])
            elif b < RING:
                colour = rgb(along[b])
            elif a < RING:
                colour = rgb(across[a])
            else:
                colour = face
            row.append(tuple(clamp_byte(c) for c in colour))
        rows.append(row)
    return rows


# ---- selection marks -----------------------------------------------------------

MARK_SIZE = 12
MARK_FRAME = rgb("#8A8A8A")
MARK_LIGHT = rgb("#F8F8F8")
MARK_BLUE = rgb("#2A5FD8")


def make_mark(filled):
    rows = []
    for y in range(MARK_SIZE):
        row = []
        for x in range(MARK_SIZE):
            ring = min(x, y, MARK_SIZE - 1 - x, MARK_SIZE - 1 - y)
            if ring == 0:
                row.append(MARK_FRAME)
            elif filled and ring >= 2:
                row.append(MARK_BLUE)
            else:
                row.append(MARK_LIGHT)
        rows.append(row)
    return rows


# ---- icon -------------------------------------------------------------------

ICON_SKY = (10, 14, 40)
ICON_TINT = (1.30, 1.25, 1.15)
ICON_STAR = (205, 210, 235)
ICON_STARS = {32: [(5, 5), (26, 4), (3, 20), (27, 27), (9, 29)], 16: []}


def make_icon_image(moon, size):
    radius = size * 0.40
    rows = render_sphere(moon, size, size, size / 2.0, size / 2.0, radius,
                         ICON_TINT, ICON_SKY, samples=6)
    for x, y in ICON_STARS[size]:
        rows[y][x] = ICON_STAR
    return [[(r, g, b, True) for r, g, b in row] for row in rows]


# ---- main -------------------------------------------------------------------------

def make_all(out_dir, source):
    os.makedirs(out_dir, exist_ok=True)
    moon = moon_grey(source)
    imagefiles.write_bmp(os.path.join(out_dir, "moon.bmp"),
                         [[(v, v, v) for v in row] for row in moon])
    for name in ("normal", "highlight", "pressed", "disable", "selected", "highlightselect"):
        imagefiles.write_bmp(os.path.join(out_dir, "button_%s.bmp" % name),
                             make_button(BUTTONS[name]))
    imagefiles.write_bmp(os.path.join(out_dir, "mark_off.bmp"), make_mark(False))
    imagefiles.write_bmp(os.path.join(out_dir, "mark_on.bmp"), make_mark(True))
    imagefiles.write_bmp(os.path.join(out_dir, "preview.bmp"), make_preview(moon))
    with open(os.path.join(out_dir, "halvane.ico"), "wb") as f:
        f.write(imagefiles.ico_bytes([make_icon_image(moon, 32), make_icon_image(moon, 16)]))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out_dir", nargs="?", default=os.path.join(REPO_ROOT, "assets"))
    parser.add_argument("--source", default=DEFAULT_SOURCE)
    args = parser.parse_args(argv)
    make_all(args.out_dir, args.source)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
