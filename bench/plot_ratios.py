#!/usr/bin/env python3
"""Draws the ratios of a vorn-bench run as an SVG bar chart.

    build/bin/vorn-bench --benchmark_repetitions=5 | tee run.txt
    python3 bench/plot_ratios.py run.txt docs/performance-ratios.svg

Reads the run's summary lines `ratio <name> <value>` (time as a multiple of
SQLite's for the same work; lower is better) and draws one bar per ratio on
a logarithmic scale, with the target where there is one and Qt's ratio for
the same kind of work (scans, inserts) as a dashed line. Only the Python
standard library is used.
"""

import math
import sys
from xml.sax.saxutils import escape

# Targets as time multiples of SQLite (the insert target, 0.8 of SQLite's
# rate, is 1.25 times its time).
TARGETS = {
    "oci8_scan": 1.2,
    "query_typed": 1.3,
    "dataset_fetch_all": 2.0,
    "execute_array_insert": 1.25,
}

# The ratios drawn, in order, with their captions and the Qt ratio they are
# compared with.
ROWS = [
    ("qt_scan", "Qt QSqlQuery scan", None),
    ("oci8_scan", "OCI 8 array fetch (100 rows)", "qt_scan"),
    ("query_typed", "TOracleQuery, typed accessors", "qt_scan"),
    ("query_variants", "TOracleQuery, Field variants", "qt_scan"),
    ("dataset_fetch_all", "TOracleDataSet fetch-all", "qt_scan"),
    ("dataset_grid_scroll", "20-row grid scrolled over it", "qt_scan"),
    ("dataset_grid_scroll_fetching", "grid scroll, fetching as needed", "qt_scan"),
    ("qt_insert", "Qt execBatch insert", None),
    ("oci8_array_insert", "OCI 8 array insert (1,000)", "qt_insert"),
    ("execute_array_insert", "TOracleQuery.ExecuteArray (1,000)", "qt_insert"),
    ("dataset_append_post", "TOracleDataSet append + post", "qt_insert"),
    ("locate", "Locate over 200,000 records", None),
    ("locate_nocase", "Locate, no case, partial key", None),
    ("lookup", "Lookup", None),
    ("filter", "Dataset filter over 200,000", None),
    ("lob_read", "TLOBLocator, 10 MB CLOB in 64 KB", None),
    ("oci8_select_by_key", "OCI 8 select by key", None),
    ("query_select_by_key", "TOracleQuery select by key", None),
]


def read_ratios(path):
    ratios = {}
    with open(path, encoding="utf-8", errors="replace") as run:
        for line in run:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "ratio":
                try:
                    ratios[parts[1]] = float(parts[2])
                except ValueError:
                    pass
    return ratios


def draw(ratios, title):
    rows = [row for row in ROWS if row[0] in ratios]
    low, high = 0.25, 100.0
    label_width, plot_width, row_height, top = 260, 520, 24, 60
    height = top + row_height * len(rows) + 60
    width = label_width + plot_width + 140

    def x(value):
        value = min(max(value, low), high)
        return label_width + plot_width * (math.log(value / low) / math.log(high / low))

    out = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'font-family="sans-serif" font-size="12">',
        f'<rect width="{width}" height="{height}" fill="white"/>',
        f'<text x="10" y="22" font-size="15" font-weight="bold">{escape(title)}</text>',
        '<text x="10" y="40" fill="#555">Time as a multiple of SQLite\'s for the same work '
        "(log scale; lower is better). Red: target. Dashed: Qt.</text>",
    ]
    bottom = top + row_height * len(rows)
    for tick in (0.25, 0.5, 1, 2, 5, 10, 20, 50, 100):
        tx = x(tick)
        colour = "#444" if tick == 1 else "#ddd"
        out.append(f'<line x1="{tx:.1f}" y1="{top - 4}" x2="{tx:.1f}" y2="{bottom}" '
                   f'stroke="{colour}"/>')
        out.append(f'<text x="{tx:.1f}" y="{bottom + 16}" text-anchor="middle">{tick:g}</text>')
    for i, (name, caption, peer) in enumerate(rows):
        y = top + i * row_height
        value = ratios[name]
        target = TARGETS.get(name)
        missed = target is not None and value > target
        colour = "#c0392b" if missed else ("#7f8c8d" if name.startswith("qt_") else "#2e86c1")
        out.append(f'<text x="{label_width - 8}" y="{y + 16}" text-anchor="end">'
                   f"{escape(caption)}</text>")
        out.append(f'<rect x="{label_width}" y="{y + 4}" width="{x(value) - label_width:.1f}" '
                   f'height="{row_height - 8}" fill="{colour}"/>')
        out.append(f'<text x="{x(value) + 6:.1f}" y="{y + 16}">{value:.2f}</text>')
        if target is not None:
            tx = x(target)
            out.append(f'<line x1="{tx:.1f}" y1="{y + 1}" x2="{tx:.1f}" y2="{y + row_height - 1}" '
                       'stroke="red" stroke-width="3"/>')
        if peer is not None and peer in ratios:
            px = x(ratios[peer])
            out.append(f'<line x1="{px:.1f}" y1="{y + 1}" x2="{px:.1f}" y2="{y + row_height - 1}" '
                       'stroke="black" stroke-width="2" stroke-dasharray="3,2"/>')
    out.append(f'<text x="{label_width}" y="{bottom + 36}" fill="#555">'
               "Locate, Lookup: rows compared until the match; LOB: bytes.</text>")
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    ratios = read_ratios(argv[1])
    if not ratios:
        print(f"{argv[1]}: no 'ratio <name> <value>' lines", file=sys.stderr)
        return 1
    title = argv[3] if len(argv) > 3 else "vorn-bench: the library against SQLite and Qt"
    with open(argv[2], "w", encoding="utf-8") as svg:
        svg.write(draw(ratios, title))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
