#!/usr/bin/env python3
"""Writes catalogue-lenses.txt, the readable source of Raysketcher's own stock-lens catalogue.

Every lens is designed here from the lensmaker's equation with the glass indices at 587.6 nm:
the thin-lens powers give the starting radii, a thickness follows from the sags and a minimum
edge, and the radii are then scaled together until a paraxial y-nu trace through the thick
lens gives the nominal focal length. The committed text is the source of truth; run this script
only to rebuild it from scratch:

    python3 data/make_catalogue_source.py > data/catalogue-lenses.txt
"""
import math
import sys

# name: (index at 587.6 nm, Abbe number)
GLASS = {
    "N-BK7": (1.5168, 64.17),
    "N-SF11": (1.78472, 25.68),
    "F-SILICA": (1.4585, 67.82),
    "N-BAF10": (1.67003, 47.11),
    "N-SF5": (1.67271, 32.25),
    "N-SF10": (1.72825, 28.53),
    "N-F2": (1.62004, 36.37),
    "N-SK16": (1.62041, 60.32),
}

# Smallest edge and centre thickness by diameter (mm).
def min_edge(d):
    return 0.8 if d <= 6 else 1.2 if d <= 13 else 1.8 if d <= 26 else 3.0


def min_centre(d):
    return 1.0 if d <= 6 else 1.5 if d <= 13 else 2.0 if d <= 26 else 3.5


def trace(radii, thick, index):
    """Focal length of surfaces `radii` (0 = plane), `thick[i]` and `index[i]` behind surface i."""
    y, nu, n = 1.0, 0.0, 1.0
    for i, r in enumerate(radii):
        c = 0.0 if r == 0 else 1.0 / r
        n2 = index[i] if i < len(index) else 1.0
        nu -= y * c * (n2 - n)
        if i < len(thick):
            y += thick[i] * nu / n2
        n = n2
    return -1.0 / nu


def sag(r, h):
    if r == 0:
        return 0.0
    if abs(r) < h * 1.02:
        raise ValueError("surface too steep")
    return r - math.copysign(math.sqrt(r * r - h * h), r)


def rnd(r):
    if r == 0:
        return 0.0
    return round(r, 3 if abs(r) < 100 else 2 if abs(r) < 1000 else 1)


def solve(f, radii, thickness_of, index):
    """Scales the curved radii until the traced focal length is `f`; returns radii, thicknesses."""
    k = 1.0
    for _ in range(6):
        thick = thickness_of([r * k for r in radii])
        for _ in range(40):
            g = trace([r * k for r in radii], thick, index) - f
            k2 = k * 1.000001
            g2 = trace([r * k2 for r in radii], thick, index) - f
            step = g * (k2 - k) / (g2 - g)
            k -= step
            if abs(step) < 1e-12:
                break
    out = [rnd(r * k) for r in radii]
    thick = [round(t, 2) for t in thickness_of(out)]
    got = trace(out, thick, index)
    if abs(got - f) > 0.002 * abs(f):
        raise ValueError("focal length %g instead of %g" % (got, f))
    return out, thick


def edge_need(ra, rb, h, d):
    """Centre thickness an element between surfaces ra and rb needs for the minimum edge."""
    return min_edge(d) + sag(ra, h) - sag(rb, h)


def element_thickness(r1, r2, h, d, positive):
    return max(min_centre(d), edge_need(r1, r2, h, d)) if positive else min_centre(d)


def fmt(x):
    return ("%.6f" % x).rstrip("0").rstrip(".") if x != 0 else "0"


def dia_code(d):
    return {12.7: "12", 25.4: "25", 50.8: "50"}.get(d, "%g" % d)


def dia_text(d):
    return "%g" % d


number = [10000]


def add(code, kind, radii, thick, semis, glasses, series, description, flags=""):
    number[0] += 1
    codes = "%s RS-%d" % (code, number[0])
    assert len(code) <= 9
    gl = " ".join(
        "AIR 1 0" if g == "AIR" else "%s %s %s" % (g, fmt(GLASS[g][0]), fmt(GLASS[g][1]))
        for g in glasses)
    assert len(series) <= 17 and len(description) <= 45, description
    print(" | ".join([
        codes, kind, " ".join(fmt(r) for r in radii), " ".join(fmt(t) for t in thick),
        " ".join(fmt(s) for s in semis), gl, series, description, flags
    ]).rstrip(" |"))


def fnum(f):
    return "%g" % f


def singlet(prefix, kind, glass, f, d, shape, series, flags="", coating="MgF2"):
    n, _ = GLASS[glass]
    h = d / 2
    if shape == "pcx" or shape == "pcv":
        radii = [(n - 1) * f, 0.0]
    elif shape == "bcx" or shape == "bcv":
        radii = [2 * (n - 1) * f, -2 * (n - 1) * f]
    elif shape == "best":
        q = 2 * (n * n - 1) / (n + 2)
        radii = [2 * f * (n - 1) / (q + 1), 2 * f * (n - 1) / (q - 1)]
    positive = f > 0
    try:
        radii, thick = solve(f, radii,
                             lambda r: [element_thickness(r[0], r[1], h, d, positive)], [n])
    except ValueError as e:
        sys.stderr.write("left out %s%s-%s: %s\n" % (prefix, fnum(abs(f)), dia_code(d), e))
        return
    glass_text = "Quarzglas" if glass == "F-SILICA" else glass
    desc = "%s Ø %s mm F = %s mm" % (glass_text, dia_text(d), fnum(f))
    flags = (flags + " coating=" + coating).strip()
    add("%s%s-%s" % (prefix, fnum(abs(f)), dia_code(d)), kind, radii, thick, [h, h], [glass],
        series, desc, flags)


def cemented(f, d, crown, flint, flags=""):
    n1, v1 = GLASS[crown]
    n2, v2 = GLASS[flint]
    h = d / 2
    phi = 1.0 / f
    phi1 = phi * v1 / (v1 - v2)
    phi2 = -phi * v2 / (v1 - v2)
    r1 = (n1 - 1) * 2.316 / phi1
    r2 = -0.76 * r1
    r3 = 1.0 / (1.0 / r2 - phi2 / (n2 - 1))

    def thickness(r):
        t1 = max(min_centre(d), edge_need(r[0], r[1], h, d))
        t2 = max(min_centre(d) * 0.8, edge_need(r[1], r[2], h, d))
        return [t1, t2]

    try:
        radii, thick = solve(f, [r1, r2, r3], thickness, [n1, n2])
    except ValueError as e:
        sys.stderr.write("left out AC%s-%s: %s\n" % (fnum(f), dia_code(d), e))
        return
    desc = "%s/%s Ø %s mm F = %s mm" % (crown, flint, dia_text(d), fnum(f))
    add("AC%s-%s" % (fnum(f), dia_code(d)), "achromat", radii, thick, [h, h, h], [crown, flint],
        "Achromat", desc, (flags + " coating=VIS-AR").strip())


def air_spaced(f, d, crown, flint, flags=""):
    n1, v1 = GLASS[crown]
    n2, v2 = GLASS[flint]
    h = d / 2
    phi = 1.0 / f
    phi1 = phi * v1 / (v1 - v2)
    phi2 = -phi * v2 / (v1 - v2)
    r1 = (n1 - 1) * 2.316 / phi1
    r2 = -0.76 * r1
    r3 = 1.04 * r2
    r4 = 1.0 / (1.0 / r3 - phi2 / (n2 - 1))
    gap = 0.3 if d < 30 else 0.5

    def thickness(r):
        t1 = max(min_centre(d), edge_need(r[0], r[1], h, d))
        if gap + sag(r[2], h) - sag(r[1], h) <= 0:
            raise ValueError("elements touch")
        t3 = max(min_centre(d) * 0.8, edge_need(r[2], r[3], h, d))
        return [t1, gap, t3]

    try:
        radii, thick = solve(f, [r1, r2, r3, r4], thickness, [n1, 1.0, n2])
    except ValueError as e:
        sys.stderr.write("left out AS%s-%s: %s\n" % (fnum(f), dia_code(d), e))
        return
    desc = "%s/%s Ø %s mm F = %s mm" % (crown, flint, dia_text(d), fnum(f))
    add("AS%s-%s" % (fnum(f), dia_code(d)), "airspaced", radii, thick, [h] * 4,
        [crown, "AIR", flint], "Achromat Luft", desc, (flags + " coating=VIS-AR").strip())


def triplet(f, d, crown, flint, flags=""):
    nc, vc = GLASS[crown]
    nf, vf = GLASS[flint]
    h = d / 2
    phi = 1.0 / f
    phic = phi * vc / (vc - vf)
    phif = -phi * vf / (vc - vf) / 2
    r2 = 2 * (nc - 1) / phic
    r1 = 1.0 / (1.0 / r2 + phif / (nf - 1))
    radii = [r1, r2, -r2, -r1]

    def thickness(r):
        tf = max(min_centre(d) * 0.8, edge_need(r[0], r[1], h, d))
        tc = max(min_centre(d), edge_need(r[1], r[2], h, d))
        return [tf, tc, tf]

    try:
        radii, thick = solve(f, radii, thickness, [nf, nc, nf])
    except ValueError as e:
        sys.stderr.write("left out TR%s-%s: %s\n" % (fnum(f), dia_code(d), e))
        return
    desc = "%s/%s/%s Ø %s mm F = %s mm" % (flint, crown, flint, dia_text(d), fnum(f))
    add("TR%s-%s" % (fnum(f), dia_code(d)), "triplet", radii, thick, [h] * 4, [flint, crown, flint],
        "Triplet", desc, (flags + " coating=VIS-AR").strip())


def cylinder(prefix, glass, f, height, length, flags=""):
    n, _ = GLASS[glass]
    h = height / 2
    try:
        radii, thick = solve(f, [(n - 1) * f, 0.0],
                             lambda r: [element_thickness(r[0], r[1], h, height, f > 0)], [n])
    except ValueError as e:
        sys.stderr.write("left out %s%s-%s: %s\n" % (prefix, fnum(abs(f)), fnum(height), e))
        return
    glass_text = "Quarzglas" if glass == "F-SILICA" else glass
    desc = "%s %s × %s mm F = %s mm" % (glass_text, fnum(height), fnum(length), fnum(f))
    series = "Zyl. plankonvex" if f > 0 else "Zyl. plankonkav"
    add("%s%s-%s" % (prefix, fnum(abs(f)), fnum(height)), "cylinder", radii, thick, [h, h], [glass],
        series, desc, ("%s length=%s coating=MgF2" % (flags, fnum(length))).strip())


# The stock range. A few lenses are marked as no longer available ("obsolete").
OBSOLETE = {"PX35-25", "BX25-25", "PV30-25", "AC60-12", "AS150-25", "CX12.7-10", "FX1000-25"}


def fl(code):
    return "obsolete" if code in OBSOLETE else ""


print("# Raysketcher stock-lens catalogue: the source of the six binary catalogue files.")
print("# Generated by make_catalogue_source.py; make_catalogue turns it into the .dat files.")
print("# One lens per line, fields separated by '|':")
print("#   codes | kind | radii | thicknesses | semi-diameters | media | series | description | flags")
print("# Lengths in mm, a radius of 0 is a plane surface. Media: name, index at 587.6 nm and Abbe")
print("# number of the glass (or AIR 1 0) behind every surface but the last. The description ends")
print("# with the nominal focal length \"F = ... mm\", which the traced lens has to meet within 1 %.")
print("# Flags: obsolete (no longer available), length=L (cylinders), coating=TEXT.")

print("\n# Plano-convex singlets")
for d, fs in [(3, [6, 10, 15]), (6, [10, 12, 15, 20, 25, 30, 50]),
              (12.7, [15, 20, 25, 30, 40, 50, 75, 100, 150, 200]),
              (25.4, [30, 35, 40, 50, 60, 75, 100, 125, 150, 200, 250, 300, 400, 500, 750, 1000]),
              (50.8, [60, 75, 100, 150, 200, 250, 300, 500, 750, 1000])]:
    for f in fs:
        code = "PX%s-%s" % (fnum(f), dia_code(d))
        singlet("PX", "single", "N-BK7", f, d, "pcx", "Plankonvex", fl(code))
for d, fs in [(3, [3, 4]), (6, [6, 8])]:
    for f in fs:
        singlet("HX", "single", "N-SF11", f, d, "pcx", "Plankonvex")
for d, fs in [(12.7, [25, 50, 100]), (25.4, [50, 75, 100, 150, 200, 250, 300, 500, 1000])]:
    for f in fs:
        singlet("QX", "single", "F-SILICA", f, d, "pcx", "Plankonvex UV", coating="UV-AR")

print("\n# Bi-convex singlets")
for d, fs in [(6, [10, 15, 20]), (12.7, [20, 25, 50, 75, 100]),
              (25.4, [25, 40, 50, 75, 100, 150, 200, 250, 500, 1000]),
              (50.8, [50, 100, 200, 500, 1000])]:
    for f in fs:
        code = "BX%s-%s" % (fnum(f), dia_code(d))
        singlet("BX", "single", "N-BK7", f, d, "bcx", "Bikonvex", fl(code))

print("\n# Best-form singlets (least spherical aberration for a collimated beam)")
for d, fs in [(12.7, [25, 50, 100]), (25.4, [50, 75, 100, 150, 200, 250, 500, 1000]),
              (50.8, [100, 200, 500])]:
    for f in fs:
        code = "FX%s-%s" % (fnum(f), dia_code(d))
        singlet("FX", "bestform", "N-BK7", f, d, "best", "Bester Form", fl(code))

print("\n# Plano-concave singlets")
for d, fs in [(6, [6, 10, 15, 25]), (12.7, [15, 25, 50, 75, 100]),
              (25.4, [30, 50, 75, 100, 150, 200, 250, 500, 1000]), (50.8, [100, 200, 500])]:
    for f in fs:
        code = "PV%s-%s" % (fnum(f), dia_code(d))
        singlet("PV", "single", "N-BK7", -f, d, "pcv", "Plankonkav", fl(code))

print("\n# Bi-concave singlets")
for d, fs in [(6, [6, 10]), (12.7, [15, 25, 50, 100]),
              (25.4, [25, 50, 75, 100, 150, 200, 500, 1000]), (50.8, [100, 200])]:
    for f in fs:
        singlet("BV", "single", "N-BK7", -f, d, "bcv", "Bikonkav")

print("\n# Cemented achromats")
for d, fs in [(12.7, [40, 50, 60, 75, 100, 150, 200]),
              (25.4, [50, 60, 75, 100, 125, 150, 200, 250, 300, 400, 500, 750, 1000]),
              (50.8, [100, 150, 200, 250, 300, 400, 500, 750, 1000])]:
    for f in fs:
        code = "AC%s-%s" % (fnum(f), dia_code(d))
        if f <= 100:
            cemented(f, d, "N-BAF10", "N-SF10", fl(code))
        else:
            cemented(f, d, "N-BK7", "N-SF5", fl(code))

print("\n# Air-spaced achromats")
for d, fs in [(25.4, [100, 150, 200, 300, 500]), (50.8, [200, 250, 300, 400, 500, 750, 1000])]:
    for f in fs:
        code = "AS%s-%s" % (fnum(f), dia_code(d))
        air_spaced(f, d, "N-BK7", "N-F2", fl(code))

print("\n# Cemented triplets")
for d, fs in [(6, [10]), (12.7, [15, 20, 25, 30, 40]), (25.4, [50, 75, 100])]:
    for f in fs:
        triplet(f, d, "N-SK16", "N-SF10")

print("\n# Cylinder lenses (semi-diameter: half the height across the cylinder axis)")
for f, hgt, length in [(3, 4, 8), (4, 4, 8), (5, 5, 10)]:
    cylinder("HC", "N-SF11", f, hgt, length)
for f, hgt, length in [(6, 5, 10), (8, 6, 12), (10, 8, 10), (12.7, 10, 12), (15, 10, 20),
                       (20, 12, 20), (25, 12, 25), (30, 20, 22), (40, 20, 22), (50, 25, 30),
                       (60, 25, 30), (75, 25, 30), (100, 25, 30), (150, 30, 32), (200, 30, 32),
                       (250, 30, 32), (300, 30, 32), (500, 40, 42), (1000, 40, 42)]:
    code = "CX%s-%s" % (fnum(f), fnum(hgt))
    cylinder("CX", "N-BK7", f, hgt, length, fl(code))
for f, hgt, length in [(6, 6, 10), (10, 8, 10), (15, 10, 20), (20, 12, 20), (25, 12, 25),
                       (50, 20, 22), (75, 25, 30), (100, 25, 30), (150, 30, 32), (200, 30, 32),
                       (300, 30, 32), (500, 40, 42)]:
    cylinder("CV", "N-BK7", -f, hgt, length)
for f, hgt, length in [(50, 20, 22), (100, 25, 30), (200, 30, 32)]:
    cylinder("CQ", "F-SILICA", f, hgt, length)
