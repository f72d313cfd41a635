"""Draws the images, subsets the font and writes the style sheet and the .qrc
of the embedded ThirdPartyResources tree. Run through scripts/make-resources.

Every image is drawn at the size the form shows it, 4x oversampled and scaled
down for smooth edges. The output is byte-for-byte the same on every run.
"""
import math
import os
import re
import sys

from PIL import Image, ImageDraw, ImageFont
from fontTools import subset
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, TTFont, newTable

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "ThirdPartyResources")
CJK_COLLECTION = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
CJK_FAMILY = "Noto Sans CJK SC"
CJK_COPYRIGHT = "/usr/share/doc/fonts-noto-cjk/copyright"

# The program's dark look.
TEXT = (216, 216, 216, 255)
WHITE = (255, 255, 255, 255)
LINE = (56, 56, 56, 255)
EDGE = (80, 80, 80, 255)
HOVER = (172, 172, 172, 255)
ACCENT = (0, 161, 214, 255)
GREEN = (0, 200, 0, 255)
BLACK = (0, 0, 0, 255)
CLEAR = (0, 0, 0, 0)
SS = 4  # oversampling factor

# Every Chinese character the program shows. Characters found in the sources
# under src/ are added at each run, so new texts are covered after a re-run.
SHOWN_CHINESE = (
    "一下不丢个中为主他件任会位低体使保信修值偿储入全关其册出击切创删到前功务动助勿化南卡原"
    "参反发取可右号合名后否启命响哪器在地址型增备大失夹好如始子字存官定对导小峰已帮并序应建"
    "开弃式归当录微心息成或户手打托找拐择持指换据接提搁支改效数文新无时是显曲更最有服未本机"
    "条板析架查标样格检次死段每毫求法波注消清源滚滤点版率生用的益盘目码硬确示秒程符第简系级"
    "线组经络统编网置者自至行补被解言认设试语误请读败跟跳转轮软输达过运进连退送选递通道部配"
    "醒采重量销错键闭问间除随雅需静面音项预频题馈高黑鼠齐"
)


class Canvas:
    """An oversampled RGBA drawing surface in the image's own pixel units."""

    def __init__(self, w, h, bg=CLEAR):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), bg)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def _p(pts):
        return [(x * SS, y * SS) for x, y in pts]

    def line(self, pts, width, color, round_caps=True):
        self.d.line(self._p(pts), fill=color, width=int(round(width * SS)), joint="curve")
        if round_caps:
            r = width / 2
            for x, y in (pts[0], pts[-1]):
                self.ellipse(x - r, y - r, x + r, y + r, fill=color)

    def rect(self, x0, y0, x1, y1, radius=0, fill=None, outline=None, width=1):
        self.d.rounded_rectangle([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], radius=radius * SS,
                                 fill=fill, outline=outline, width=int(round(width * SS)))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=fill, outline=outline,
                       width=int(round(width * SS)))

    def polygon(self, pts, fill):
        self.d.polygon(self._p(pts), fill=fill)

    def text(self, cx, cy, s, size, color):
        font = latin_font(size * SS)
        box = self.d.textbbox((0, 0), s, font=font)
        x = cx * SS - (box[0] + box[2]) / 2
        y = cy * SS - (box[1] + box[3]) / 2
        self.d.text((x, y), s, font=font, fill=color)

    def save(self, name):
        path = os.path.join(OUT, "images", name)
        self.img.resize((self.w, self.h), Image.LANCZOS).save(path, optimize=False)


_font_index = None


def cjk_index():
    global _font_index
    if _font_index is None:
        coll = TTCollection(CJK_COLLECTION)
        for i, f in enumerate(coll.fonts):
            if f["name"].getDebugName(1) == CJK_FAMILY:
                _font_index = i
                break
        else:
            raise SystemExit("no %s in %s" % (CJK_FAMILY, CJK_COLLECTION))
    return _font_index


def latin_font(px):
    return ImageFont.truetype(CJK_COLLECTION, int(px), index=cjk_index())


# --- small glyph-like images -------------------------------------------------

def check_mark(c, x0, y0, size, width, color):
    pts = [(x0 + size * 0.18, y0 + size * 0.52), (x0 + size * 0.42, y0 + size * 0.74),
           (x0 + size * 0.82, y0 + size * 0.28)]
    c.line(pts, width, color)


def check_box(name, checked, box_fill, box_edge, mark):
    c = Canvas(22, 22)
    c.rect(2, 2, 20, 20, radius=4, fill=box_fill, outline=box_edge, width=1.5)
    if checked:
        check_mark(c, 2, 2, 18, 2.2, mark)
    c.save(name)


def cross(name, size, arm, width, color):
    c = Canvas(size, size)
    m = size / 2
    c.line([(m - arm, m - arm), (m + arm, m + arm)], width, color)
    c.line([(m - arm, m + arm), (m + arm, m - arm)], width, color)
    c.save(name)


def chevron(name, size, up, width, color):
    c = Canvas(size, size)
    m = size / 2
    dx, dy = size * 0.32, size * 0.18
    if up:
        pts = [(m - dx, m + dy), (m, m - dy), (m + dx, m + dy)]
    else:
        pts = [(m - dx, m - dy), (m, m + dy), (m + dx, m - dy)]
    c.line(pts, width, color)
    c.save(name)


def plus(c, cx, cy, arm, width, color):
    c.line([(cx - arm, cy), (cx + arm, cy)], width, color)
    c.line([(cx, cy - arm), (cx, cy + arm)], width, color)


def switch(name, w, h, on):
    """A pill switch at the left of a w x h indicator image."""
    c = Canvas(w, h)
    tw, th = 34, 18
    x0, y0 = 3, (h - th) / 2
    c.rect(x0, y0, x0 + tw, y0 + th, radius=th / 2, fill=ACCENT if on else EDGE)
    r = th / 2 - 2
    cx = x0 + tw - th / 2 if on else x0 + th / 2
    c.ellipse(cx - r, h / 2 - r, cx + r, h / 2 + r, fill=WHITE if on else TEXT)
    c.save(name)


def channel_switch(name, left_on):
    """The L/R switch: the lit half names the channel being edited."""
    c = Canvas(80, 20)
    c.rect(0, 0, 80, 20, radius=10, fill=LINE)
    if left_on:
        c.rect(0, 0, 42, 20, radius=10, fill=GREEN)
    else:
        c.rect(38, 0, 80, 20, radius=10, fill=GREEN)
    c.text(20, 10, "L", 13, BLACK if left_on else TEXT)
    c.text(60, 10, "R", 13, TEXT if left_on else BLACK)
    c.save(name)


def gear(name, size, color):
    c = Canvas(size, size)
    m = size / 2
    outer, inner, hole = size * 0.44, size * 0.32, size * 0.14
    teeth = 8
    pts = []
    for k in range(teeth * 4):
        a = 2 * math.pi * k / (teeth * 4)
        r = outer if k % 4 in (1, 2) else inner
        pts.append((m + r * math.sin(a), m - r * math.cos(a)))
    c.polygon(pts, color)
    c.ellipse(m - inner * 0.9, m - inner * 0.9, m + inner * 0.9, m + inner * 0.9, fill=color)
    c.ellipse(m - hole, m - hole, m + hole, m + hole, fill=CLEAR)
    c.save(name)


def floppy(name, size, color):
    c = Canvas(size, size)
    a, b = size * 0.16, size * 0.84
    w = 1.8
    c.rect(a, a, b, b, radius=2, outline=color, width=w)
    # shutter at the top and label at the bottom
    c.rect(size * 0.32, a, size * 0.66, size * 0.40, fill=color)
    c.rect(size * 0.54, a + 1.6, size * 0.61, size * 0.36, fill=CLEAR)
    c.rect(size * 0.28, size * 0.56, size * 0.72, b - 1.2, radius=1, outline=color, width=1.4)
    c.save(name)


def window_buttons():
    c = Canvas(20, 20)
    c.line([(4, 10), (16, 10)], 2, TEXT)
    c.save("reduce.png")

    c = Canvas(20, 20)
    c.rect(4, 4, 16, 16, radius=1.5, outline=TEXT, width=2)
    c.save("big.png")

    c = Canvas(20, 20)
    c.rect(7, 3.5, 16.5, 13, radius=1.5, outline=TEXT, width=1.8)
    c.rect(3.5, 7, 13, 16.5, radius=1.5, fill=BLACK, outline=TEXT, width=1.8)
    c.save("small.png")

    cross("close.png", 20, 5.5, 2, TEXT)


def logo():
    c = Canvas(213, 60, bg=BLACK)
    c.text(106.5, 27, "QUORVEL", 30, WHITE)
    c.rect(62, 45, 151, 47, radius=1, fill=ACCENT)
    c.save("quorvel-090.png")


def tray_icon():
    c = Canvas(64, 64)
    c.rect(2, 2, 62, 62, radius=14, fill=BLACK, outline=LINE, width=3)
    c.text(32, 31, "QV", 30, TEXT)
    c.rect(16, 48, 48, 51, radius=1.5, fill=ACCENT)
    c.save("QV.png")


def images():
    os.makedirs(os.path.join(OUT, "images"), exist_ok=True)
    gear("setting.png", 25, TEXT)
    floppy("ws_save.png", 25, TEXT)
    window_buttons()
    cross("close1.png", 20, 4, 1.8, HOVER)

    c = Canvas(25, 25)
    c.ellipse(3, 3, 22, 22, outline=TEXT, width=1.8)
    plus(c, 12.5, 12.5, 5, 2, TEXT)
    c.save("add2.png")

    c = Canvas(18, 18)
    plus(c, 9, 9, 6, 2, TEXT)
    c.save("add1.png")

    # Band enable boxes: normal, locked and the "no equaliser" unchecked look.
    check_box("1-unchecked.png", False, BLACK, HOVER, None)
    check_box("1-checked.png", True, ACCENT, ACCENT, WHITE)
    check_box("2-unchecked.png", False, (24, 24, 24, 255), EDGE, None)
    check_box("2-checked.png", True, (34, 74, 88, 255), (34, 74, 88, 255), (140, 140, 140, 255))
    check_box("unchecked_56.png", False, BLACK, LINE, None)

    channel_switch("zuo4.png", True)
    channel_switch("you4.png", False)

    switch("ic-checkbox-close_2_3.png", 40, 30, False)
    switch("ic-checkbox-open_1.png", 40, 30, True)
    switch("ic-checkbox-close_2.png", 100, 30, False)
    switch("ic-checkbox-open_1-1.png", 100, 30, True)

    chevron("ArrowDownBold.png", 12, False, 2.2, WHITE)
    chevron("ArrowUpBold.png", 12, True, 2.2, WHITE)
    chevron("down_arrow.png", 10, False, 1.5, TEXT)

    c = Canvas(16, 16)
    check_mark(c, 0, 0, 16, 2, WHITE)
    c.save("OK.png")

    logo()
    tray_icon()


# --- font ----------------------------------------------------------------------

def shown_chinese():
    chars = set(SHOWN_CHINESE)
    cjk = re.compile(r"[\u3400-\u9fff]")
    src = os.path.join(ROOT, "src")
    for base, _, files in os.walk(src):
        for f in files:
            if f.endswith((".cpp", ".h")):
                with open(os.path.join(base, f), encoding="utf-8", errors="ignore") as fh:
                    chars |= set(cjk.findall(fh.read()))
    return chars


def unicodes():
    cps = set(range(0x20, 0x7F)) | set(range(0xA0, 0x100))
    cps |= set(range(0x2010, 0x2027)) | set(range(0x2030, 0x203B))  # dashes, quotes, ellipsis, per mille
    cps |= set(range(0x3000, 0x3020))  # CJK punctuation
    cps |= set(range(0xFF01, 0xFF5F)) | {0xFFE5}  # full-width forms, full-width yen/yuan
    cps |= {ord(ch) for ch in shown_chinese()}
    return sorted(cps)


def to_truetype(font):
    """Replaces the CFF outlines by quadratic glyf outlines."""
    order = font.getGlyphOrder()
    glyphset = font.getGlyphSet()
    glyphs = {}
    for name in order:
        pen = TTGlyphPen(glyphset)
        glyphset[name].draw(Cu2QuPen(pen, 1.0, reverse_direction=True))
        glyphs[name] = pen.glyph()
    font["loca"] = newTable("loca")
    glyf = font["glyf"] = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = glyphs
    for t in ("CFF ", "VORG"):
        if t in font:
            del font[t]
    glyf.compile(font)
    hmtx = font["hmtx"]
    for name, g in glyf.glyphs.items():
        if hasattr(g, "xMin"):
            hmtx[name] = (hmtx[name][0], g.xMin)
    maxp = font["maxp"] = newTable("maxp")
    maxp.tableVersion = 0x00010000
    maxp.maxZones = 1
    for f in ("maxTwilightPoints", "maxStorage", "maxFunctionDefs", "maxInstructionDefs",
              "maxStackElements", "maxSizeOfInstructions", "maxComponentElements"):
        setattr(maxp, f, 0)
    maxp.compile(font)
    post = font["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    post.glyphOrder = order
    font["head"].glyphDataFormat = 0
    font.sfntVersion = "\000\001\000\000"


def licence_text():
    """The SIL OFL 1.1 text from the Debian copyright file (its indented stanza)."""
    with open(CJK_COPYRIGHT, encoding="utf-8") as fh:
        lines = fh.read().split("\n")
    for i, ln in enumerate(lines):
        if ln.startswith("License: SIL-1.1") and i + 1 < len(lines) and lines[i + 1].startswith(" "):
            break
    else:
        raise SystemExit("no OFL text in " + CJK_COPYRIGHT)
    out = []
    for ln in lines[i + 1:]:
        if not ln.startswith(" "):
            break
        out.append("" if ln.strip() == "." else ln[1:])
    return "\n".join(out).rstrip() + "\n"


def font():
    os.makedirs(os.path.join(OUT, "fonts"), exist_ok=True)
    f = TTFont(CJK_COLLECTION, fontNumber=cjk_index(), recalcTimestamp=False, lazy=False)
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.desubroutinize = True
    options.hinting = False
    sub = subset.Subsetter(options)
    sub.populate(unicodes=unicodes())
    sub.subset(f)
    to_truetype(f)
    f.save(os.path.join(OUT, "fonts", "SourceHanSansCN-Bold.ttf"))

    copyright_line = f["name"].getDebugName(0)
    with open(os.path.join(OUT, "fonts", "OFL.txt"), "w", encoding="utf-8") as fh:
        fh.write("SourceHanSansCN-Bold.ttf is a subset of Noto Sans CJK SC Bold,\n")
        fh.write("converted to TrueType outlines. It is licensed under the SIL Open Font\n")
        fh.write("License, Version 1.1, reproduced below.\n\n")
        fh.write(copyright_line + "\n\n")
        fh.write(licence_text())


# --- style sheet and resource file ---------------------------------------------

SCROLLBAR_QSS = """\
QScrollBar:vertical {
    width: 8px;
    background: rgba(255, 255, 255, 0%);
    margin: 0px;
    border: none;
}
QScrollBar:horizontal {
    height: 8px;
    background: rgba(255, 255, 255, 0%);
    margin: 0px;
    border: none;
}
QScrollBar::handle:vertical {
    background: rgba(255, 255, 255, 40%);
    border-radius: 4px;
    min-height: 40px;
}
QScrollBar::handle:horizontal {
    background: rgba(255, 255, 255, 40%);
    border-radius: 4px;
    min-width: 40px;
}
QScrollBar::handle:vertical:hover,
QScrollBar::handle:horizontal:hover {
    background: rgba(255, 255, 255, 60%);
}
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical,
QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {
    width: 0px;
    height: 0px;
    border: none;
    background: none;
}
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical,
QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {
    background: rgba(255, 255, 255, 0%);
    border-radius: 4px;
}
QScrollArea {
    background-color: rgb(0, 0, 0);
}
"""


def qss():
    os.makedirs(os.path.join(OUT, "qss"), exist_ok=True)
    with open(os.path.join(OUT, "qss", "whiteScrollbar.qss"), "w", encoding="utf-8") as fh:
        fh.write(SCROLLBAR_QSS)


def qrc():
    files = []
    for base, _, names in os.walk(OUT):
        for n in names:
            if n.endswith(".txt"):
                continue  # the licence travels beside the font, not inside the program
            files.append(os.path.relpath(os.path.join(base, n), os.path.join(ROOT, "resources")))
    files.sort()
    with open(os.path.join(ROOT, "resources", "resources.qrc"), "w", encoding="utf-8") as fh:
        fh.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n")
        for f in files:
            fh.write("    <file>%s</file>\n" % f.replace(os.sep, "/"))
        fh.write("</qresource>\n</RCC>\n")


if __name__ == "__main__":
    images()
    font()
    qss()
    qrc()
    print("resources written to", OUT)
