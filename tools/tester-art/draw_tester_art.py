#!/usr/bin/python3
"""Draws the tester's artwork: the switch panel's face, one overlay per switch position,
and the program icon. Writes them into the given folder (src/tester/resources).

Bitmaps are 24-bit; pure blue marks every pixel that is not to be drawn. Each overlay is
opaque over the whole part of the face it replaces, so that it hides the control at rest.

Usage: draw_tester_art.py OUTPUT_FOLDER
"""

import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

BLUE = (0, 0, 255)
PANEL = (48, 52, 58)
EDGE = (92, 96, 104)
LABEL = (236, 236, 228)
BEZEL = (24, 24, 26)
ROCKER_REST = (110, 112, 116)
ROCKER_ON = (228, 228, 220)
ROCKER_SHADE = (70, 72, 76)
KNOB = (20, 20, 22)
KNOB_RIM = (140, 140, 146)
POINTER = (250, 250, 250)
LAMP_DARK = (70, 64, 58)

FACE_SIZE = (635, 219)
FONT = ImageFont.load_default()

# Toggles: overlay id, origin, overlay size, label lines above or below.
TOGGLES = [
    (203, (202, 43), (20, 56), ["BAT."], "above"),
    (204, (236, 43), (21, 56), ["ALT."], "above"),
    (205, (283, 43), (20, 56), ["AVIONICS", "MASTER"], "above"),
    (206, (321, 43), (20, 56), ["FUEL", "PUMP"], "above"),
    (207, (361, 43), (19, 57), ["DE-ICE"], "above"),
    (208, (400, 43), (20, 57), ["PITOT", "HEAT"], "above"),
    (209, (144, 138), (21, 56), ["COWL"], "below"),
    (210, (204, 138), (21, 56), ["PANEL"], "below"),
    (211, (244, 138), (20, 55), ["BEACON"], "below"),
    (212, (283, 138), (19, 56), ["NAV."], "below"),
    (213, (322, 138), (19, 55), ["STROBE"], "below"),
    (214, (361, 138), (19, 56), ["TAXI"], "below"),
    (215, (399, 138), (20, 55), ["LANDING"], "below"),
]

KNOB_ORIGIN = (33, 61)
# Magneto overlays: id, size, angle from straight up in degrees, label.
KNOB_POSITIONS = [
    (216, (111, 111), -70, "OFF"),
    (217, (111, 111), -35, "R"),
    (218, (111, 111), 0, "L"),
    (219, (111, 110), 35, "BOTH"),
    (220, (111, 111), 70, "START"),
]
KNOB_CENTRE = (55, 55)  # within an overlay
KNOB_RADIUS = 27

LEVER_ORIGIN = (533, 60)
LEVER_SIZE = (51, 124)

LAMPS = {"N": (472, 102), "L": (453, 137), "R": (491, 137)}


def text_centred(draw, centre_x, top, text, fill=LABEL):
    width = draw.textlength(text, font=FONT)
    draw.text((centre_x - width / 2, top), text, font=FONT, fill=fill)


def draw_rocker(draw, origin, size, on):
    """A rocker in its bezel, filling the box; lit and raised at the top when on."""
    x, y = origin
    w, h = size
    draw.rectangle([x, y, x + w - 1, y + h - 1], fill=BEZEL, outline=ROCKER_ON if on else EDGE)
    face = ROCKER_ON if on else ROCKER_REST
    if on:
        draw.rectangle([x + 3, y + 3, x + w - 4, y + h // 2], fill=face)
        draw.rectangle([x + 3, y + h // 2 + 1, x + w - 4, y + h - 4], fill=ROCKER_SHADE)
        draw.line([x + 5, y + 8, x + w - 6, y + 8], fill=(40, 160, 60), width=2)
    else:
        draw.rectangle([x + 3, y + 3, x + w - 4, y + h // 2 - 1], fill=ROCKER_SHADE)
        draw.rectangle([x + 3, y + h // 2, x + w - 4, y + h - 4], fill=face)


def draw_knob(draw, centre):
    cx, cy = centre
    r = KNOB_RADIUS
    draw.ellipse([cx - r - 3, cy - r - 3, cx + r + 3, cy + r + 3], fill=KNOB_RIM)
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=KNOB)


def pointer_end(centre, angle, length):
    radians = math.radians(angle)
    return (centre[0] + length * math.sin(radians), centre[1] - length * math.cos(radians))


def draw_lever(draw, origin, up):
    """The gear lever's slot plate, opaque over the whole overlay, with the lever in it."""
    x, y = origin
    w, h = LEVER_SIZE
    draw.rectangle([x, y, x + w - 1, y + h - 1], fill=PANEL, outline=EDGE if not up else LABEL)
    slot_x = x + w // 2
    draw.rectangle([slot_x - 4, y + 22, slot_x + 4, y + h - 22], fill=BEZEL)
    handle_y = y + 30 if up else y + h - 30
    draw.rectangle([slot_x - 3, min(handle_y, y + h // 2), slot_x + 3, max(handle_y, y + h // 2)],
                   fill=KNOB_RIM)
    # The handle is a wheel, as on the real lever.
    draw.ellipse([slot_x - 13, handle_y - 13, slot_x + 13, handle_y + 13], fill=ROCKER_ON,
                 outline=BEZEL, width=2)
    draw.ellipse([slot_x - 5, handle_y - 5, slot_x + 5, handle_y + 5], fill=ROCKER_SHADE)
    text_centred(draw, x + w / 2, y + 3, "UP")
    text_centred(draw, x + w / 2, y + h - 13, "DOWN")


def panel_face():
    image = Image.new("RGB", FACE_SIZE, BLUE)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([3, 3, FACE_SIZE[0] - 4, FACE_SIZE[1] - 4], radius=10, fill=PANEL,
                           outline=EDGE, width=2)
    for sx, sy in [(14, 14), (620, 14), (14, 204), (620, 204)]:
        draw.ellipse([sx - 4, sy - 4, sx + 4, sy + 4], fill=EDGE)
        draw.line([sx - 3, sy, sx + 3, sy], fill=BEZEL)
    draw.text((24, 200), "KORVANE AEROTRAK", font=FONT, fill=LABEL)
    # One label over both master rockers.
    text_centred(draw, 229, 17, "MASTER")

    for _, origin, size, lines, where in TOGGLES:
        draw_rocker(draw, origin, size, on=False)
        centre_x = origin[0] + 10
        if where == "above":
            top = origin[1] - 4 - 11 * len(lines)
            for line in lines:
                text_centred(draw, centre_x, top, line)
                top += 11
        else:
            text_centred(draw, centre_x, origin[1] + 59, lines[0])
    text_centred(draw, 154, 126, "OPEN/CLOSE")
    draw.line([204, 131, 240, 131], fill=LABEL)
    draw.line([384, 131, 419, 131], fill=LABEL)
    text_centred(draw, 312, 126, "LIGHTS")

    knob_centre = (KNOB_ORIGIN[0] + KNOB_CENTRE[0], KNOB_ORIGIN[1] + KNOB_CENTRE[1])
    draw_knob(draw, knob_centre)
    for _, _, angle, label in KNOB_POSITIONS:
        tick_in = pointer_end(knob_centre, angle, KNOB_RADIUS + 5)
        tick_out = pointer_end(knob_centre, angle, KNOB_RADIUS + 10)
        draw.line([tick_in, tick_out], fill=LABEL, width=2)
        lx, ly = pointer_end(knob_centre, angle, KNOB_RADIUS + 20)
        text_centred(draw, lx, ly - 5, label)
    text_centred(draw, knob_centre[0], knob_centre[1] + KNOB_RADIUS + 14, "MAGNETOS")

    draw_lever(draw, LEVER_ORIGIN, up=False)
    text_centred(draw, LEVER_ORIGIN[0] + LEVER_SIZE[0] / 2, 194, "GEAR")

    text_centred(draw, 472, 70, "GEAR LIGHTS")
    for label, (cx, cy) in LAMPS.items():
        draw.ellipse([cx - 9, cy - 9, cx + 9, cy + 9], fill=BEZEL)
        draw.ellipse([cx - 7, cy - 7, cx + 6, cy + 6], fill=LAMP_DARK)
        text_centred(draw, cx, cy + 10, label)
    return image


def toggle_overlay(origin, size):
    image = Image.new("RGB", size, BLUE)
    draw_rocker(ImageDraw.Draw(image), (0, 0), size, on=True)
    return image


def knob_overlay(size, angle):
    image = Image.new("RGB", size, BLUE)
    draw = ImageDraw.Draw(image)
    end = pointer_end(KNOB_CENTRE, angle, KNOB_RADIUS - 2)
    draw.line([KNOB_CENTRE, end], fill=POINTER, width=5)
    draw.ellipse([KNOB_CENTRE[0] - 4, KNOB_CENTRE[1] - 4, KNOB_CENTRE[0] + 4, KNOB_CENTRE[1] + 4],
                 fill=POINTER)
    return image


def lever_overlay():
    image = Image.new("RGB", LEVER_SIZE, BLUE)
    draw_lever(ImageDraw.Draw(image), (0, 0), up=True)
    return image


def icon_picture(size):
    """A rocker switch with a green gear lamp beside it."""
    image = Image.new("RGB", (size, size), BLUE)
    draw = ImageDraw.Draw(image)
    s = size / 16
    draw.rounded_rectangle([0, 0, size - 1, size - 1], radius=max(1, int(3 * s)), fill=PANEL)
    draw.rectangle([3 * s, 2 * s, 8 * s, 14 * s - 1], fill=BEZEL)
    draw.rectangle([4 * s, 3 * s, 7 * s, 8 * s - 1], fill=ROCKER_ON)
    draw.ellipse([9 * s, 9 * s, 14 * s - 1, 14 * s - 1], fill=(0, 220, 0))
    draw.ellipse([9 * s, 2 * s, 14 * s - 1, 7 * s - 1], fill=(220, 0, 0))
    return image


def icon_image_bytes(image, bits):
    """One icon image: header, palette, colour bits and the mask, rows bottom up."""
    colours = 1 << bits
    paletted = image.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = paletted.getpalette()[: colours * 3]
    palette += [0] * (colours * 3 - len(palette))
    width, height = image.size
    pixels = paletted.load()
    rgb = image.load()
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    quads = b"".join(bytes((palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0))
                     for i in range(colours))
    colour_rows = b""
    mask_rows = b""
    for y in reversed(range(height)):
        row = bytearray()
        if bits == 8:
            row.extend(pixels[x, y] for x in range(width))
        else:
            for x in range(0, width, 2):
                row.append((pixels[x, y] << 4) | pixels[x + 1, y])
        colour_rows += bytes(row) + b"\0" * (-len(row) % 4)
        mask = bytearray((width + 7) // 8)
        for x in range(width):
            if rgb[x, y] == BLUE:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows += bytes(mask) + b"\0" * (-len(mask) % 4)
    return header + quads + colour_rows + mask_rows


def write_icon(path, entries):
    """An icon file of the (size, bits) entries, in that order."""
    images = [icon_image_bytes(icon_picture(size), bits) for size, bits in entries]
    offset = 6 + 16 * len(entries)
    directory = b""
    for (size, bits), data in zip(entries, images):
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    path.write_bytes(struct.pack("<HHH", 0, 1, len(entries)) + directory + b"".join(images))


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    panel_face().save(out / "202_panel_face.bmp")
    for overlay, origin, size, lines, _ in TOGGLES:
        name = "_".join(line.rstrip(".").lower() for line in lines).replace("-", "_")
        if overlay in (203, 204):
            name = "master_" + name
        toggle_overlay(origin, size).save(out / f"{overlay}_{name}.bmp")
    for overlay, size, angle, label in KNOB_POSITIONS:
        knob_overlay(size, angle).save(out / f"{overlay}_magneto_{label.lower()}.bmp")
    lever_overlay().save(out / "221_gear_lever_up.bmp")
    write_icon(out / "KorSwitchTest.ico", [(32, 4), (16, 4), (48, 8), (32, 8), (16, 8)])


if __name__ == "__main__":
    main()
