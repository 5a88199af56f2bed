#!/usr/bin/env python3
"""Checks one printed page (a PPM from pdftoppm) against what the printer DC
reported: the picture's size on paper, its centring in the printable area
and its four coloured quadrants (red, green, blue, black from top left).

usage: check_page.py PAGE.ppm REPORT.txt RENDER_DPI
"""
import sys

TOLERANCE_PX = 3
COLOURS = {"top-left": (255, 0, 0), "top-right": (0, 160, 0),
           "bottom-left": (0, 0, 255), "bottom-right": (0, 0, 0)}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("not an 8-bit P6 PPM: %s" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def read_report(path):
    report = {}
    with open(path) as f:
        for line in f:
            key, *values = line.split()
            report[key] = [int(v) for v in values]
    return report


def main():
    page, report_path, dpi = sys.argv[1], sys.argv[2], int(sys.argv[3])
    width, height, pixels = read_ppm(page)
    report = read_report(report_path)

    def pixel(x, y):
        i = (y * width + x) * 3
        return tuple(pixels[i:i + 3])

    inked = [(x, y) for y in range(height) for x in range(width)
             if sum(pixel(x, y)) < 3 * 230]
    if not inked:
        raise SystemExit("FAIL: the page is blank")
    left = min(x for x, _ in inked)
    right = max(x for x, _ in inked) + 1
    top = min(y for _, y in inked)
    bottom = max(y for _, y in inked) + 1

    (pic_w, pic_h), (scr_x, scr_y) = report["picture"], report["screen_dpi"]
    (prn_x, prn_y), (off_x, off_y) = report["printer_dpi"], report["offset"]
    area_w, area_h = report["printable"]
    want_w, want_h = pic_w * dpi / scr_x, pic_h * dpi / scr_y
    centre_x = (off_x + area_w / 2) * dpi / prn_x
    centre_y = (off_y + area_h / 2) * dpi / prn_y

    failures = []
    def check(name, got, want):
        ok = abs(got - want) <= TOLERANCE_PX
        print("%-16s got %7.1f want %7.1f %s" % (name, got, want, "ok" if ok else "FAIL"))
        if not ok:
            failures.append(name)

    check("width", right - left, want_w)
    check("height", bottom - top, want_h)
    check("centre x", (left + right) / 2, centre_x)
    check("centre y", (top + bottom) / 2, centre_y)
    for name, want in COLOURS.items():
        fx = 0.25 if "left" in name else 0.75
        fy = 0.25 if "top" in name else 0.75
        got = pixel(int(left + fx * (right - left)), int(top + fy * (bottom - top)))
        ok = all(abs(g - w) <= 40 for g, w in zip(got, want))
        print("%-16s got %-15s want %-15s %s" % (name, got, want, "ok" if ok else "FAIL"))
        if not ok:
            failures.append(name)
    if failures:
        raise SystemExit("FAIL: " + ", ".join(failures))
    print("page ok")


if __name__ == "__main__":
    main()
