#!/usr/bin/env python3
"""Draws the skin of the configuration window with ImageMagick.

Run from anywhere: python3 scripts/make-skin.py
Needs ImageMagick 6 (`convert`) and the DejaVu fonts. Writes
modules/img/background.png, modules/img/skin1/<group>/*.png and
modules/img/trayIcon.ico; the PNGs in the repository are this script's output.
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
IMG = os.path.join(ROOT, "modules", "img")
SKIN = os.path.join(IMG, "skin1")
TMP = tempfile.mkdtemp(prefix="g7skin-")

FONT = "DejaVu-Sans-Condensed-Bold"
FONT_OBLIQUE = "DejaVu-Sans-Condensed-Bold-Oblique"

RED = "#d01c1c"
RED_BRIGHT = "#ff3030"
RED_DARK = "#5a0c0c"


def convert(*args):
    cmd = ["convert"] + [str(a) for a in args]
    result = subprocess.run(cmd, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("convert failed: %s\n%s" % (" ".join(cmd), result.stderr))


def tmp(name):
    return os.path.join(TMP, name)


def out(group, name):
    folder = os.path.join(SKIN, group)
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, name)


def shaped(path, w, h, shape_draw, top, bottom, angle=None):
    """A vertical (or rotated) gradient cut out by the white parts of shape_draw."""
    gradient = ["-size", "%dx%d" % (w, h), "gradient:%s-%s" % (top, bottom)]
    if angle is not None:
        gradient = ["-size", "%dx%d" % (w, h), "-define", "gradient:angle=%d" % angle,
                    "gradient:%s-%s" % (top, bottom)]
    convert(*gradient,
            "(", "-size", "%dx%d" % (w, h), "xc:black", "-fill", "white", *shape_draw, ")",
            "-alpha", "off", "-compose", "CopyOpacity", "-composite", path)


def over(base, layer, result=None, geometry="+0+0"):
    convert(base, layer, "-geometry", geometry, "-compose", "over", "-composite", result or base)


def lit_body(canvas, body, strips, glow, lit):
    """The mouse's body onto its shadow; lit, the light strips on it and their glow, laid twice, under it."""
    if lit:
        over(canvas, glow)
        over(canvas, glow)
    over(canvas, body)
    if lit:
        over(canvas, strips)


def glossy_button(path, w, h, r, top, bottom, border, gloss=0.16, glyph=None):
    """Rounded glossy button: gradient body, bright upper half, thin border, optional glyph draw."""
    body = tmp("body.png")
    shaped(body, w, h, ["-draw", "roundrectangle 0,0,%d,%d,%d,%d" % (w - 1, h - 1, r, r)], top, bottom)
    args = [body,
            "-fill", "rgba(255,255,255,%.2f)" % gloss, "-stroke", "none",
            "-draw", "roundrectangle 1,1,%d,%d,%d,%d" % (w - 2, h // 2, max(r - 1, 1), max(r - 1, 1)),
            "-fill", "none", "-stroke", border, "-strokewidth", "1",
            "-draw", "roundrectangle 0.5,0.5,%.1f,%.1f,%d,%d" % (w - 1.5, h - 1.5, r, r)]
    if glyph:
        args += glyph
    convert(*args, path)


def background():
    w, h = 1000, 640
    base = tmp("bg.png")
    shaped(base, w, h, ["-draw", "roundrectangle 0,0,%d,%d,10,10" % (w - 1, h - 1)], "#2b2b2d", "#0b0b0c")
    # Fine diagonal weave, barely visible.
    weave = tmp("weave.png")
    convert("-size", "%dx%d" % (w, h), "pattern:left45", "-negate",
            "-alpha", "set", "-channel", "A", "-evaluate", "set", "4%", "+channel", weave)
    convert(base, weave, "-compose", "atop", "-composite", base)
    # Red glow behind the mouse and the floor it stands on.
    glow = tmp("glow.png")
    convert("-size", "%dx%d" % (w, h), "xc:none",
            "-fill", "rgba(200,20,20,0.30)", "-draw", "ellipse 497,560 200,34 0,360",
            "-fill", "rgba(160,10,10,0.22)", "-draw", "ellipse 497,330 190,250 0,360",
            "-blur", "0x45", glow)
    over(base, glow)
    ring = tmp("ring.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "none",
            "-stroke", "rgba(255,48,48,0.55)", "-strokewidth", "2",
            "-draw", "ellipse 497,560 190,30 200,340",
            "-stroke", "rgba(255,48,48,0.25)", "-strokewidth", "1",
            "-draw", "ellipse 497,560 215,36 195,345", ring)
    ring_glow = tmp("ringglow.png")
    convert(ring, "-blur", "0x4", ring_glow)
    over(base, ring_glow)
    over(base, ring)
    # Header and footer bands with red rules fading out to the sides.
    bands = tmp("bands.png")
    convert("-size", "%dx%d" % (w, h), "xc:none",
            "-fill", "rgba(0,0,0,0.45)", "-draw", "rectangle 0,0,%d,27" % (w - 1),
            "-fill", "rgba(0,0,0,0.40)", "-draw", "rectangle 0,596,%d,%d" % (w - 1, h - 1),
            bands)
    convert(base, bands, "-compose", "atop", "-composite", base)
    rule = tmp("rule.png")
    convert("-size", "1000x2", "-define", "gradient:angle=90", "gradient:#00000000-%s" % RED,
            "(", "-size", "1000x2", "-define", "gradient:angle=270", "gradient:#00000000-%s" % RED, ")",
            "-compose", "lighten", "-composite", rule)
    convert("-size", "1000x2", "xc:none",
            "(", "-size", "500x2", "-define", "gradient:angle=90", "gradient:#00000000-%s" % RED, ")",
            "-geometry", "+0+0", "-compose", "over", "-composite",
            "(", "-size", "500x2", "-define", "gradient:angle=270", "gradient:#00000000-%s" % RED, ")",
            "-geometry", "+500+0", "-compose", "over", "-composite", rule)
    over(base, rule, geometry="+0+27")
    over(base, rule, geometry="+0+595")
    # Angled red accents in the top corners of the header.
    convert(base, "-fill", RED, "-stroke", "none",
            "-draw", "polygon 10,0 180,0 168,4 10,4",
            "-draw", "polygon 820,0 990,0 990,4 832,4",
            "-fill", "rgba(255,255,255,0.35)", "-font", FONT, "-pointsize", "11",
            "-draw", "text 18,19 'ORVANE  GLIDE MOUSE G7'",
            "-fill", "rgba(255,255,255,0.18)",
            "-draw", "text 420,19 'GAMING MOUSE CONFIGURATION'",
            base)
    # Window edge.
    convert(base, "-fill", "none", "-stroke", "#3c3c3e", "-strokewidth", "1",
            "-draw", "roundrectangle 0.5,0.5,998.5,638.5,10,10",
            "-stroke", "rgba(208,28,28,0.55)",
            "-draw", "line 11,639 200,639", "-draw", "line 800,639 988,639",
            os.path.join(IMG, "background.png"))


def emblem(path, size, color_top=RED_BRIGHT, color_bottom="#8a0e0e"):
    """The brand mark: two swept wings meeting in a point, like a gliding arrow."""
    s = size / 100.0
    def pts(points):
        return " ".join("%.1f,%.1f" % (x * s, y * s) for x, y in points)
    left = pts([(50, 92), (4, 18), (30, 24), (50, 62)])
    right = pts([(50, 92), (96, 18), (70, 24), (50, 62)])
    inner = pts([(50, 52), (38, 30), (50, 8), (62, 30)])
    shaped(path, size, size, ["-draw", "polygon " + left, "-draw", "polygon " + right,
                              "-draw", "polygon " + inner], color_top, color_bottom)


def logos():
    # Start logo: a dark card with the emblem and the name above its middle,
    # where the busy text of the start lock shows, and the model below.
    w, h = 540, 425
    card = tmp("card.png")
    shaped(card, w, h, ["-draw", "roundrectangle 0,0,%d,%d,16,16" % (w - 1, h - 1)], "#262628", "#0c0c0d")
    halo = tmp("halo.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(220,30,30,0.45)",
            "-draw", "ellipse 270,80 110,70 0,360", "-blur", "0x36", halo)
    convert(card, halo, "-compose", "atop", "-composite", card)
    mark = tmp("mark.png")
    emblem(mark, 110)
    mark_glow = tmp("markglow.png")
    convert(mark, "-channel", "A", "-blur", "0x8", "+channel", "-fill", RED_BRIGHT, "-colorize", "100", mark_glow)
    over(card, mark_glow, geometry="+215+22")
    over(card, mark, geometry="+215+22")
    convert(card,
            "-font", FONT_OBLIQUE, "-pointsize", "56", "-fill", "#f4f4f4", "-stroke", "none",
            "-gravity", "north", "-annotate", "+0+126", "ORVANE",
            "-gravity", "northwest",
            "-fill", "none", "-stroke", RED, "-strokewidth", "2",
            "-draw", "line 150,246 390,246",
            "-stroke", "none", "-gravity", "north",
            "-font", FONT, "-pointsize", "18", "-fill", RED_BRIGHT, "-kerning", "6",
            "-annotate", "+0+258", "GLIDE MOUSE G7",
            "-kerning", "2", "-pointsize", "11", "-fill", "rgba(255,255,255,0.40)",
            "-annotate", "+0+392", "PRECISION   SPEED   CONTROL",
            "-gravity", "northwest", "-kerning", "0",
            "-fill", "none", "-stroke", "#4a1c1c", "-strokewidth", "1",
            "-draw", "roundrectangle 0.5,0.5,%.1f,%.1f,16,16" % (w - 1.5, h - 1.5),
            out("index", "powerOn.png"))
    # The mouse itself below the model name.
    side = tmp("logo_side.png")
    convert(out("mouse", "mouseSide.png"), "-resize", "200x", side)
    over(out("index", "powerOn.png"), side, geometry="+170+290")

    # Main logo beside the header: emblem, name and model line.
    w, h = 236, 58
    small = tmp("small.png")
    emblem(small, 50)
    convert("-size", "%dx%d" % (w, h), "xc:none", small, "-geometry", "+0+4", "-compose", "over", "-composite",
            "-font", FONT_OBLIQUE, "-pointsize", "34", "-fill", "#f4f4f4",
            "-draw", "text 56,36 'ORVANE'",
            "-font", FONT, "-pointsize", "11", "-fill", RED_BRIGHT, "-kerning", "3",
            "-draw", "text 58,52 'GLIDE MOUSE G7'",
            out("index", "mainLogo.png"))


def header_buttons():
    size = 17
    def variant(name, hover, glyph):
        top, bottom, border = ("#c42222", "#6a0d0d", "#ff5a5a") if hover else ("#3a3a3c", "#161617", "#555558")
        glossy_button(out("index", name), size, size, 3, top, bottom, border, 0.14, glyph)
    question = ["-fill", "#f0f0f0", "-stroke", "none", "-font", FONT, "-pointsize", "13",
                "-gravity", "center", "-annotate", "+0+0", "?"]
    minimise = ["-fill", "#f0f0f0", "-stroke", "none", "-draw", "rectangle 4,11,12,12"]
    close = ["-fill", "none", "-stroke", "#f0f0f0", "-strokewidth", "1.6",
             "-draw", "line 5,5 11.5,11.5", "-draw", "line 11.5,5 5,11.5"]
    variant("ask.png", False, question)
    variant("askH.png", True, question)
    # The minimise glyph lives in closeBtn*, the close glyph in minBtn*.
    variant("closeBtn.png", False, minimise)
    variant("closeBtnH.png", True, minimise)
    variant("minBtn.png", False, close)
    variant("minBtnH.png", True, close)


def text_buttons():
    # Footer reset button.
    for name, top, bottom, border in (("restBtn.png", "#4a1414", "#1e0808", "#8f2020"),
                                      ("restBtnH.png", "#8a1a1a", "#3a0a0a", "#ff4a4a"),
                                      ("restBtnP.png", "#2e0a0a", "#4a1010", "#8f2020")):
        glossy_button(out("index", name), 76, 26, 4, top, bottom, border, 0.12 if name != "restBtnP.png" else 0.04)
    # Profile button with a small profile icon left of its label.
    icon = ["-fill", "#e8e8e8", "-stroke", "none",
            "-draw", "circle 17,12 17,8", "-draw", "roundrectangle 10,17 24,24 4,4"]
    for name, top, bottom, border in (("profileBtn.png", "#3a3a3c", "#141415", "#8f2020"),
                                      ("profileBtnH.png", "#8a1a1a", "#3a0a0a", "#ff4a4a")):
        glossy_button(out("index", name), 112, 30, 5, top, bottom, border, 0.13, icon)
    # Macro editor and recoil editor buttons of the macro strip.
    for group, stem in (("macros", "macroBtn"), ("gun", "gunBtn")):
        for suffix, top, bottom, border, gloss in (("", "#3a3a3c", "#141415", "#8f2020", 0.13),
                                                   ("H", "#8a1a1a", "#3a0a0a", "#ff4a4a", 0.13),
                                                   ("P", "#2e0a0a", "#4a1010", "#8f2020", 0.04)):
            glossy_button(out(group, "%s%s.png" % (stem, suffix)), 150, 28, 5, top, bottom, border, gloss)


def panels():
    # Scroll track of the right column.
    shaped(out("index", "flickableBar.png"), 8, 563,
           ["-draw", "roundrectangle 0,0,7,562,4,4"], "#101011", "#1c1c1d")
    # Factory-reset dialog.
    w, h = 427, 102
    dialog = out("index", "sureBg.png")
    shaped(dialog, w, h, ["-draw", "rectangle 0,0,%d,%d" % (w - 1, h - 1)], "#2a2a2c", "#121213")
    convert(dialog, "-fill", "none", "-stroke", "#8f2020", "-strokewidth", "1",
            "-draw", "rectangle 0.5,0.5,%.1f,%.1f" % (w - 1.5, h - 1.5),
            "-fill", RED, "-stroke", "none", "-draw", "rectangle 1,30,%d,31" % (w - 2), dialog)
    # Hue bar: red, yellow, green, cyan, blue, magenta and back to red, one
    # segment every 21 pixels like the slider maths.
    ppm = tmp("hue.ppm")
    with open(ppm, "wb") as f:
        f.write(b"P6 128 12 255\n")
        row = bytearray()
        for x in range(128):
            s, frac = divmod(x, 21)
            v = frac * 255 // 21
            rgb = {0: (255, v, 0), 1: (255 - v, 255, 0), 2: (0, 255, v), 3: (0, 255 - v, 255),
                   4: (v, 0, 255), 5: (255, 0, 255 - v)}.get(s, (255, 0, 0))
            row += bytes(rgb)
        f.write(bytes(row) * 12)
    convert(ppm, out("dpiSetting", "colorBar.png"))
    glossy_button(out("dpiSetting", "colorSlider.png"), 6, 18, 2, "#ffffff", "#b0b0b0", "#202020", 0.0)


def mouse_top(lit=True, name="mouseTop.png"):
    w, h = 300, 440
    body_path = ("path 'M 150,18 C 228,18 262,88 262,168 C 262,226 244,262 248,302 "
                 "C 254,372 218,424 150,424 C 82,424 46,372 52,302 C 56,262 38,226 38,168 "
                 "C 38,88 72,18 150,18 Z'")
    body = tmp("top_body.png")
    shaped(body, w, h, ["-draw", body_path], "#343436", "#0e0e0f")
    # Soft highlight on the left shoulder and the palm.
    light = tmp("top_light.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(255,255,255,0.16)",
            "-draw", "ellipse 112,120 38,90 0,360", "-draw", "ellipse 150,330 70,60 0,360",
            "-blur", "0x18", light)
    convert(body, light, "-compose", "atop", "-composite", body)
    # Red light strips along both sides, with their glow.
    strips = tmp("top_strips.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "none", "-stroke", RED_BRIGHT,
            "-strokewidth", "4",
            "-draw", "path 'M 44,200 C 40,250 58,270 56,320 C 54,360 70,392 96,410'",
            "-draw", "path 'M 256,200 C 260,250 242,270 244,320 C 246,360 230,392 204,410'",
            strips)
    strips_glow = tmp("top_strips_glow.png")
    convert(strips, "-blur", "0x7", strips_glow)
    canvas = tmp("top.png")
    # Shadow under the mouse.
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(0,0,0,0.75)",
            "-draw", body_path, "-blur", "0x10", canvas)
    convert(canvas, "-page", "+4+8", "-background", "none", "-flatten", canvas)
    lit_body(canvas, body, strips, strips_glow, lit)
    # Button split, the palm seam, the wheel with its light and the DPI button.
    wheel = tmp("wheel.png")
    shaped(wheel, 22, 64, ["-draw", "roundrectangle 0,0,21,63,9,9"], "#505052", "#1a1a1b")
    wheel_light = tmp("wheel_light.png")
    convert("-size", "60x100", "xc:none", "-fill", RED_BRIGHT, "-draw", "roundrectangle 21,20 39,80 8,8",
            "-blur", "0x8", wheel_light)
    convert(canvas, "-fill", "none", "-stroke", "#050505", "-strokewidth", "3",
            "-draw", "line 150,20 150,188",
            "-draw", "path 'M 44,196 C 90,214 210,214 256,196'",
            "-stroke", "rgba(255,255,255,0.10)", "-strokewidth", "1",
            "-draw", "line 152,22 152,186",
            "-draw", "path 'M 46,199 C 92,217 208,217 254,199'",
            canvas)
    if lit:
        over(canvas, wheel_light, geometry="+120+42")
    over(canvas, wheel, geometry="+139+60")
    convert(canvas, "-fill", "none", "-stroke", "rgba(0,0,0,0.6)", "-strokewidth", "1",
            "-draw", "line 140,74 160,74", "-draw", "line 140,86 160,86", "-draw", "line 140,98 160,98",
            "-draw", "line 140,110 160,110",
            "-stroke", "#5a5a5c", "-fill", "#1f1f20", "-draw", "roundrectangle 142,136 158,160 4,4",
            "-fill", RED, "-stroke", "none", "-draw", "rectangle 146,142 154,144",
            "-draw", "rectangle 146,147 154,149", "-draw", "rectangle 146,152 154,154",
            canvas)
    # Brand mark on the palm.
    mark = tmp("palm_mark.png")
    emblem(mark, 46)
    mark_glow = tmp("palm_glow.png")
    convert(mark, "-channel", "A", "-blur", "0x5", "+channel", mark_glow)
    over(canvas, mark_glow, geometry="+127+300")
    over(canvas, mark, geometry="+127+300")
    convert(canvas, "-fill", "none", "-stroke", "rgba(255,255,255,0.22)", "-strokewidth", "1",
            "-draw", body_path, out("mouse", name))


def mouse_side(lit=True, name="mouseSide.png"):
    w, h = 460, 240
    body_path = ("path 'M 24,160 C 22,100 120,44 246,46 C 340,48 428,104 434,160 "
                 "C 437,186 420,196 392,196 L 64,196 C 38,196 24,186 24,160 Z'")
    body = tmp("side_body.png")
    shaped(body, w, h, ["-draw", body_path], "#3a3a3c", "#0e0e0f")
    light = tmp("side_light.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(255,255,255,0.14)",
            "-draw", "ellipse 230,80 150,24 0,360", "-blur", "0x14", light)
    convert(body, light, "-compose", "atop", "-composite", body)
    strip = tmp("side_strip.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "none", "-stroke", RED_BRIGHT,
            "-strokewidth", "4", "-draw", "path 'M 60,180 C 160,170 300,170 410,180'", strip)
    strip_glow = tmp("side_strip_glow.png")
    convert(strip, "-blur", "0x7", strip_glow)
    canvas = tmp("side.png")
    convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(0,0,0,0.7)",
            "-draw", "ellipse 230,204 210,12 0,360", "-blur", "0x8", canvas)
    lit_body(canvas, body, strip, strip_glow, lit)
    # Thumb buttons and the grip texture.
    for x in (262, 324):
        button = tmp("thumb.png")
        shaped(button, 56, 18, ["-draw", "roundrectangle 0,0,55,17,8,8"], "#4a4a4c", "#1a1a1b")
        over(canvas, button, geometry="+%d+96" % x)
    convert(canvas, "-fill", "none", "-stroke", "rgba(0,0,0,0.55)", "-strokewidth", "1",
            *sum([["-draw", "line %d,128 %d,160" % (x, x - 10)] for x in range(200, 380, 9)], []),
            "-stroke", "rgba(255,255,255,0.20)", "-draw", body_path,
            out("mouse", name))


def mouse_highlights():
    """One overlay per button, the size of the view it shows in: keyH<n>.png for button n."""
    shapes = {
        0: (300, 440, "path 'M 148,22 C 82,22 44,88 41,168 C 40,182 42,190 44,196 C 80,210 120,213 148,213 Z'"),
        1: (300, 440, "path 'M 152,22 C 218,22 256,88 259,168 C 260,182 258,190 256,196 C 220,210 180,213 152,213 Z'"),
        2: (300, 440, "roundrectangle 137,58 163,126 10,10"),
        5: (300, 440, "roundrectangle 140,134 160,162 5,5"),
        3: (460, 240, "roundrectangle 262,96 317,113 8,8"),
        4: (460, 240, "roundrectangle 324,96 379,113 8,8"),
    }
    for key, (w, h, shape) in shapes.items():
        fill = tmp("key_fill.png")
        convert("-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(255,48,48,0.45)",
                "-stroke", RED_BRIGHT, "-strokewidth", "2", "-draw", shape, fill)
        glow = tmp("key_glow.png")
        convert(fill, "-channel", "A", "-blur", "0x6", "+channel", glow)
        over(glow, fill)
        convert(glow, out("mouse", "keyH%d.png" % key))


FONT_CJK = "Noto-Sans-CJK-SC-Bold"


def sector(cx, cy, r_out, r_in, a0, a1):
    """Path of a ring sector between screen angles a0 and a1 (degrees, clockwise from +x)."""
    import math
    def at(r, a):
        return "%.2f,%.2f" % (cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
    large = 1 if a1 - a0 > 180 else 0
    if r_in <= 0:
        return "path 'M %d,%d L %s A %d,%d 0 %d,1 %s Z'" % (cx, cy, at(r_out, a0), r_out, r_out, large, at(r_out, a1))
    return "path 'M %s A %d,%d 0 %d,1 %s L %s A %d,%d 0 %d,0 %s Z'" % (
        at(r_out, a0), r_out, r_out, large, at(r_out, a1), at(r_in, a1), r_in, r_in, large, at(r_in, a0))


def report_rate_dials():
    # Round dial in quadrants; the chosen one is lit and the hub names the rate.
    size, c, r, hub = 116, 58, 56, 25
    quadrants = {"125": (180, 270, -29, -29), "1000": (270, 360, 29, -29),
                 "500": (0, 90, 29, 29), "250": (90, 180, -29, 29)}
    interval = {"125": "8", "250": "4", "500": "2", "1000": "1"}
    for chosen in ("125", "250", "500", "1000"):
        for suffix, unit_font, unit in (("", FONT, "%s ms"), ("Cn", FONT_CJK, "%s毫秒")):
            path = out("reportRate", "rate%s%s.png" % (chosen, suffix))
            args = ["-size", "%dx%d" % (size, size), "xc:none",
                    "-fill", "#101011", "-stroke", "#3a3a3c", "-strokewidth", "1",
                    "-draw", "circle %d,%d %d,%d" % (c, c, c, c - r - 1)]
            for name, (a0, a1, _, _) in quadrants.items():
                fill = RED if name == chosen else "#2a2a2c"
                args += ["-fill", fill, "-stroke", "#0a0a0a", "-strokewidth", "2",
                         "-draw", sector(c, c, r - 2, 0, a0, a1)]
            args += ["-fill", "#161617", "-stroke", RED_DARK, "-strokewidth", "2",
                     "-draw", "circle %d,%d %d,%d" % (c, c, c, c - hub),
                     "-stroke", "none", "-gravity", "center", "-font", FONT, "-pointsize", "10"]
            for name, (_, _, dx, dy) in quadrants.items():
                args += ["-fill", "#ffffff" if name == chosen else "#9a9a9c",
                         "-annotate", "%+d%+d" % (dx, dy), name]
            args += ["-fill", "#ffffff", "-pointsize", "10", "-annotate", "+0-6", chosen + "Hz",
                     "-font", unit_font, "-pointsize", "9", "-fill", RED_BRIGHT,
                     "-annotate", "+0+7", unit % interval[chosen]]
            convert(*args, path)


def speed_dials():
    # Half-circle dial of ten lit steps; level 0 lights none, 10 and up all.
    w, h, cx, cy, r_out, r_in = 180, 80, 90, 70, 66, 48
    for level in range(11):
        args = ["-size", "%dx%d" % (w, h), "xc:none",
                "-fill", "#101011", "-stroke", "#2c2c2e", "-strokewidth", "1",
                "-draw", sector(cx, cy, r_out + 3, 0, 180, 360)]
        for step in range(10):
            a0, a1 = 180 + step * 18 + 1.5, 180 + (step + 1) * 18 - 1.5
            fill = RED_BRIGHT if step < level else "#2e2e30"
            args += ["-fill", fill, "-stroke", "none", "-draw", sector(cx, cy, r_out, r_in, a0, a1)]
        import math
        angle = math.radians(180 + min(level, 10) * 18)
        tip = (cx + (r_in - 6) * math.cos(angle), cy + (r_in - 6) * math.sin(angle))
        args += ["-stroke", "#e8e8e8", "-strokewidth", "3",
                 "-draw", "line %d,%d %.1f,%.1f" % (cx, cy, tip[0], tip[1]),
                 "-stroke", "#3a3a3c", "-strokewidth", "1", "-draw", "line 14,%d %d,%d" % (cy + 1, w - 14, cy + 1),
                 "-fill", "#1c1c1d", "-stroke", RED, "-strokewidth", "2",
                 "-draw", "circle %d,%d %d,%d" % (cx, cy, cx, cy - 7)]
        convert(*args, out("mouseRate", "dial%d.png" % level))


def option_controls():
    # Radio images (off, on) and the + / - buttons of the scroll-lines field.
    for name, dot in (("radio.png", False), ("radioOn.png", True)):
        args = ["-size", "14x14", "xc:none", "-fill", "#141415", "-stroke", "#8a8a8c", "-strokewidth", "1",
                "-draw", "circle 7,7 7,1"]
        if dot:
            args += ["-fill", RED_BRIGHT, "-stroke", "none", "-draw", "circle 7,7 7,3.5"]
        convert(*args, out("scrollRate", name))
    plus = ["-fill", "#f0f0f0", "-stroke", "none", "-draw", "rectangle 4,8 12,9", "-draw", "rectangle 8,4 9,13"]
    minus = ["-fill", "#f0f0f0", "-stroke", "none", "-draw", "rectangle 4,8 12,9"]
    glossy_button(out("scrollRate", "plus.png"), 17, 18, 3, "#3a3a3c", "#161617", "#8f2020", 0.12, plus)
    glossy_button(out("scrollRate", "minus.png"), 17, 18, 3, "#3a3a3c", "#161617", "#8f2020", 0.12, minus)


def axis_slider():
    # Groove with a notch at every knob centre, the knob, and the numbered scale below.
    centres = [10, 30, 52, 74, 95, 116, 137, 159, 180, 199]
    args = ["-size", "210x16", "xc:none", "-fill", "#0c0c0d", "-stroke", "#3a3a3c", "-strokewidth", "1",
            "-draw", "roundrectangle 4,5 205,10 3,3", "-stroke", "#5a5a5c"]
    for x in centres:
        args += ["-draw", "line %d,12 %d,15" % (x, x)]
    convert(*args, out("xySetting", "track.png"))
    glossy_button(out("xySetting", "knob.png"), 10, 16, 3, "#ff5a5a", "#8a0e0e", "#2a0404", 0.2)
    args = ["-size", "210x12", "xc:none", "-fill", "#b0b0b2", "-font", FONT, "-pointsize", "9",
            "-gravity", "northwest"]
    for i, x in enumerate(centres):
        text = str(i + 1)
        args += ["-annotate", "+%d+0" % (x - (3 if len(text) == 1 else 6)), text]
    convert(*args, out("xySetting", "scale.png"))


def sensor_panels():
    report_rate_dials()
    speed_dials()
    option_controls()
    axis_slider()


def tray_icon():
    mark = tmp("tray_mark.png")
    emblem(mark, 200)
    base = tmp("tray.png")
    shaped(base, 256, 256, ["-draw", "roundrectangle 0,0,255,255,48,48"], "#2e2e30", "#0c0c0d")
    convert(base, "-fill", "none", "-stroke", RED, "-strokewidth", "6",
            "-draw", "roundrectangle 3,3,252,252,46,46", base)
    over(base, mark, geometry="+28+32")
    convert(base, "-define", "icon:auto-resize=64,48,32,16", os.path.join(IMG, "trayIcon.ico"))


def main():
    try:
        background()
        mouse_top()
        mouse_side()
        mouse_top(lit=False, name="mouseTopNoLight.png")
        mouse_side(lit=False, name="mouseSideNoLight.png")
        mouse_highlights()
        logos()
        header_buttons()
        text_buttons()
        panels()
        sensor_panels()
        tray_icon()
    finally:
        shutil.rmtree(TMP, ignore_errors=True)
    # Drop metadata so that a rerun produces the same files. Eight bits a channel: a
    # 16-bit PNG decodes to twice the memory and is drawn from a converted copy.
    for folder, _, files in os.walk(IMG):
        for name in files:
            if name.endswith(".png"):
                path = os.path.join(folder, name)
                convert(path, "-strip", "-depth", "8", "-define", "png:exclude-chunks=date,time", path)


if __name__ == "__main__":
    main()
