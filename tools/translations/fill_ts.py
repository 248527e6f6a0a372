#!/usr/bin/env python3
"""Refreshes translations/*.ts from the sources and fills them from table.py.

    tools/translations/fill_ts.py            # lupdate, then fill
    tools/translations/fill_ts.py --no-update  # fill only

Every source text must have an entry in table.py; texts without one are
listed and left unfinished (the translation tests then fail).
"""
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table import TABLE  # noqa: E402

SOURCES = ["Main.qml", "GlobalConfiguration.qml", "QMLPages", "QMLControls",
           "ZORController", "ZORViewModel", "ZORUtilities", "main"]
# file, target language, column in TABLE (zh_CN is column 2)
LANGUAGES = [("zh_cn.ts", "zh_CN", 2), ("us_en.ts", "en_US", 3), ("pt_pt.ts", "pt_PT", 4),
             ("ru_ru.ts", "ru_RU", 5), ("ja_jp.ts", "ja_JP", 6)]


def lookup():
    general, specific = {}, {}
    for row in TABLE:
        context, source = row[0], row[1]
        target = specific.setdefault(context, {}) if context else general
        if source in target:
            sys.exit("duplicate entry: %s / %s" % (context, source))
        target[source] = row
    return general, specific


def update(ts):
    sources = [s for s in SOURCES if os.path.exists(os.path.join(ROOT, s))]
    subprocess.run(["lupdate", "-silent", "-no-obsolete", "-locations", "none", "-recursive",
                    "-extensions", "qml,js,cpp,h", *sources,
                    "-source-language", "zh_CN", "-target-language", ts[1],
                    "-ts", os.path.join("translations", ts[0])], cwd=ROOT, check=True)


def fill(ts, general, specific):
    path = os.path.join(ROOT, "translations", ts[0])
    tree = ET.parse(path)
    missing = []
    for context in tree.getroot().iter("context"):
        name = context.find("name").text
        for message in context.iter("message"):
            source = message.find("source").text or ""
            row = specific.get(name, {}).get(source) or general.get(source)
            translation = message.find("translation")
            if row is None:
                missing.append((name, source))
                continue
            text = row[ts[2]]
            if text is None:
                text = source
            translation.text = text
            translation.attrib.pop("type", None)
    with open(path, "wb") as out:
        out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        tree.write(out, encoding="utf-8", xml_declaration=False)
        out.write(b"\n")
    # lconvert writes the file back in lupdate's own layout.
    subprocess.run(["lconvert", "-i", path, "-o", path], check=True)
    return missing


def main():
    general, specific = lookup()
    os.makedirs(os.path.join(ROOT, "translations"), exist_ok=True)
    missing = set()
    for ts in LANGUAGES:
        if "--no-update" not in sys.argv:
            update(ts)
        missing.update(fill(ts, general, specific))
    for name, source in sorted(missing):
        print("untranslated: %s: %s" % (name, source))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
