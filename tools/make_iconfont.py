#!/usr/bin/python3
"""Builds QMLIconFonts/iconfont.ttf, the interface's icon font.

The glyphs come from the Material Icons font of the Debian package
fonts-material-design-icons-iconfont (Apache License 2.0); each chosen icon
is copied to the private-use code point the interface uses for it. Nothing
else of the source font is kept: no ligatures, no other glyphs.

Needs the Debian packages python3-fonttools and
fonts-material-design-icons-iconfont. Run from anywhere:

    /usr/bin/python3 tools/make_iconfont.py

The output is reproducible: the same source font gives the same bytes.
"""

import argparse
import os
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4

SOURCE_FONT = "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf"
SOURCE_CODEPOINTS = "/usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss"

FAMILY = "ZOR Icons"
VERSION = "Version 1.000"

# Interface glyph name, its code point, the Material icon drawn there.
# Several names share a code point (the harmonic and multi-test tiles, the
# distance and fault tiles); they are listed once.
GLYPHS = [
    ("iconReback", 0xE71C, "arrow_back"),
    ("iconShutdown", 0xE605, "power_settings_new"),
    ("iconInfomation", 0xE60D, "info"),
    ("iconModelMultitest", 0xE70A, "multiline_chart"),
    ("iconModelSequence", 0xE6B3, "timeline"),
    ("iconModelFaultTest", 0xE61D, "flash_on"),
    ("iconModelRemoteSignal", 0xE635, "settings_remote"),
    ("iconModelSettings", 0xE624, "settings"),
    ("iconAdd", 0xEB06, "add"),
    ("iconRemove", 0xE62D, "remove"),
    ("iconInsert", 0xE65F, "playlist_add"),
    ("iconToLeft", 0xE620, "chevron_left"),
    ("iconToRight", 0xE627, "chevron_right"),
    ("iconCharging", 0xE6A8, "bolt"),
    ("iconSwitcherOff", 0xE646, "toggle_off"),
    ("iconSwitcherOn", 0xE647, "toggle_on"),
    ("iconAlarm", 0xE636, "warning"),
    ("iconUpdateSystemTime", 0xE692, "update"),
    ("iconAuxDCClose", 0xE72A, "power_off"),
    ("iconAuxDCOpen", 0xE64A, "power"),
]


def material_codepoints(path):
    """Icon name -> code point, from the package's SCSS map."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return {m.group(1): int(m.group(2), 16)
            for m in re.finditer(r'"([^"]+)":\s*([0-9a-fA-F]+)', text)}


def build(source_font, source_codepoints, output):
    names = material_codepoints(source_codepoints)
    font = TTFont(source_font, recalcTimestamp=False)
    source_cmap = font.getBestCmap()

    wanted = {}
    for glyph_name, codepoint, icon in GLYPHS:
        if icon not in names or names[icon] not in source_cmap:
            sys.exit("icon %r not found in %s" % (icon, source_font))
        wanted[codepoint] = (glyph_name, names[icon])

    # Keep only the source glyphs we use, without layout tables (the source
    # reaches its icons through ligatures, which we do not want).
    options = subset.Options()
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "FFTM"]
    options.name_IDs = []
    options.notdef_outline = True
    options.glyph_names = True
    options.recalc_timestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted({src for _, src in wanted.values()}))
    subsetter.subset(font)

    # Rename each kept glyph after its interface name.
    kept_cmap = font.getBestCmap()
    rename = {}
    for codepoint in sorted(wanted):
        glyph_name, src = wanted[codepoint]
        rename[kept_cmap[src]] = glyph_name
    order = [rename.get(g, g) for g in font.getGlyphOrder()]
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    glyphs = {rename.get(g, g): glyf[g] for g in font.getGlyphOrder()}
    metrics = {rename.get(g, g): hmtx[g] for g in font.getGlyphOrder()}
    font.setGlyphOrder(order)
    glyf.glyphOrder = order
    glyf.glyphs = glyphs
    hmtx.metrics = metrics
    font["post"].formatType = 2.0
    font["post"].extraNames = []
    font["post"].mapping = {}

    # A fresh character map: only our code points.
    table = cmap_format_4(4)
    table.platformID, table.platEncID, table.language = 3, 1, 0
    table.cmap = {cp: wanted[cp][0] for cp in sorted(wanted)}
    table_uni = cmap_format_4(4)
    table_uni.platformID, table_uni.platEncID, table_uni.language = 0, 3, 0
    table_uni.cmap = dict(table.cmap)
    font["cmap"].tables = [table_uni, table]

    os2 = font["OS/2"]
    os2.usFirstCharIndex = min(wanted)
    os2.usLastCharIndex = max(wanted)

    name = font["name"]
    name.names = []
    notice = ("Glyphs from Material Icons, Copyright Google LLC, "
              "Apache License 2.0; subset and remapped.")
    for name_id, value in ((0, notice), (1, FAMILY), (2, "Regular"),
                           (3, FAMILY + ": " + VERSION), (4, FAMILY),
                           (5, VERSION), (6, FAMILY.replace(" ", "") + "-Regular"),
                           (13, "Licensed under the Apache License, Version 2.0"),
                           (14, "http://www.apache.org/licenses/LICENSE-2.0")):
        name.setName(value, name_id, 3, 1, 0x409)

    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    font.save(output)
    return len(wanted)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-font", default=SOURCE_FONT)
    parser.add_argument("--source-codepoints", default=SOURCE_CODEPOINTS)
    parser.add_argument("--output", default=os.path.join(here, "..", "QMLIconFonts", "iconfont.ttf"))
    args = parser.parse_args()
    count = build(args.source_font, args.source_codepoints, args.output)
    print("wrote %s with %d glyphs" % (os.path.normpath(args.output), count))


if __name__ == "__main__":
    main()
