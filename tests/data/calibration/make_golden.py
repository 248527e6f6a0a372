#!/usr/bin/env python3
"""Writes the golden calibration files of the calibration tests.

Every stored coefficient holds the pattern of patternValue() in
tests/calibration/CalibrationTestSupport.h; the files are laid out by hand
here (declaration, "root", "AHEAD", the port-level groups, 4-space indent),
independently of the product's writer. Numbers are the shortest text that
reads back to the same double, with whole numbers written without a point.
Run from this folder: python3 make_golden.py
"""

PORTS = ["UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"]


def value(t, a, c, k):
    if a == 0:
        return 1.0 + t * 0.01 + c * 0.001 + k * 0.0001
    return -(t * 0.1 + c * 0.01 + k * 0.001)


def text(v):
    if v == int(v):
        return str(int(v))
    return repr(v)


def factor_offset(prefix, count):
    keys = []
    for k in range(count):
        keys.append(("%s_P%d_FACTOR" % (prefix, k), 0, k))
        keys.append(("%s_P%d_OFFSET" % (prefix, k), 1, k))
    return keys


def offsets(name):
    return [(name, 0, 0)]


# kind value, base name, TYPE word, keys (name, array index, point), UA-L0 only
KINDS = [
    (1, "calacamp", "ACAMP", factor_offset("AMP", 4), False),
    (2, "calacdco", "ACDCO", offsets("AMP_P0_OFFSET"), False),
    (3, "calacpha", "ACPHA", offsets("PHA_P0_OFFSET"), False),
    (4, "calacfrq", "ACFRQ", [("FRQ_P0_FACTOR", 0, 0)], False),
    (5, "calacfac", "ACFAC", [("ACFAC_P%d_FACTOR" % k, 0, k) for k in range(10)], False),
    (6, "calauxdc", "AUXDC", factor_offset("AUXDC", 5), True),
    (7, "caldcamp", "DCAMP", factor_offset("DCAMP", 2), False),
    (8, "callloamp", "LLOAMP", factor_offset("AMP", 4), False),
    (9, "calllodco", "LLODCO", offsets("AMP_P0_OFFSET"), False),
    (10, "calllodc", "LLODC", factor_offset("DCAMP", 2), False),
]


def main():
    for t, base, word, keys, first_only in KINDS:
        lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<root>",
                 "    <AHEAD>",
                 "        <TYPE>%s</TYPE>" % word,
                 "        <VERSION>1.0.0000</VERSION>",
                 "    </AHEAD>"]
        for p in range(8):
            for l in range(2):
                if first_only and (p, l) != (0, 0):
                    continue
                group = "%s-L%d" % (PORTS[p], l)
                lines.append("    <%s>" % group)
                for name, a, k in keys:
                    # The one frequency factor (UA level 1) goes into every group.
                    c = 1 if word == "ACFRQ" else p * 2 + l
                    lines.append("        <%s>%s</%s>" % (name, text(value(t, a, c, k)), name))
                lines.append("    </%s>" % group)
        lines.append("</root>")
        with open(base + ".xml", "w", newline="\n") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
