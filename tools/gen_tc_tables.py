#!/usr/bin/env python3
"""Writes model/thermocouple/tc_reference.cpp: the whole-degree EMF tables of the twelve standard thermocouple types
and the Pt1000 cold-junction resistance table.

Every value is computed in decimal arithmetic from the published coefficients and rounded half away
from zero, so the output does not depend on the machine.

    tools/gen_tc_tables.py [--check] [output path]   (default: model/thermocouple/tc_reference.cpp; see
    tools/generated_file.py)

The script checks the rows the device tables are known to hold and that every table is strictly
increasing, and refuses to write anything otherwise.
"""

import sys
from decimal import ROUND_HALF_UP, Decimal, getcontext

from generated_file import write_or_check

getcontext().prec = 50

D = Decimal


def poly(coefficients, t):
    """Sum of c[i] * t**i, coefficients in ascending powers."""
    total = D(0)
    for c in reversed(coefficients):
        total = total * t + D(c)
    return total


def piecewise(ranges, t):
    """ranges: (upper bound inclusive, ascending coefficients); the last range also extrapolates."""
    for upper, coefficients in ranges:
        if upper is None or t <= D(upper):
            return poly(coefficients, t)
    raise AssertionError("no range")


def rounded(value, quantum):
    return (value / quantum).quantize(D(1), rounding=ROUND_HALF_UP) * quantum


# IEC 60584-1 / ITS-90 reference functions, E in mV, t in degC, ascending powers.
# Each range is used up to its upper bound; the last one continues past the standard's limit.

K_NEG = ["0.0", "0.394501280250E-01", "0.236223735980E-04", "-0.328589067840E-06",
         "-0.499048287770E-08", "-0.675090591730E-10", "-0.574103274280E-12", "-0.310888728940E-14",
         "-0.104516093650E-16", "-0.198892668780E-19", "-0.163226974860E-22"]
K_POS = ["-0.176004136860E-01", "0.389212049750E-01", "0.185587700320E-04", "-0.994575928740E-07",
         "0.318409457190E-09", "-0.560728448890E-12", "0.560750590590E-15", "-0.320207200030E-18",
         "0.971511471520E-22", "-0.121047212750E-25"]
K_EXP = ("0.118597600000E+00", "-0.118343200000E-03", "0.126968600000E+03")


def emf_k(t):
    if t < 0:
        return poly(K_NEG, t)
    a0, a1, a2 = (D(a) for a in K_EXP)
    return poly(K_POS, t) + a0 * (a1 * (t - a2) ** 2).exp()


E_RANGES = [
    (0, ["0.0", "0.586655087080E-01", "0.454109771240E-04", "-0.779980486860E-06",
         "-0.258001608430E-07", "-0.594525830570E-09", "-0.932140586670E-11", "-0.102876055340E-12",
         "-0.803701236210E-15", "-0.439794973910E-17", "-0.164147763550E-19", "-0.396736195160E-22",
         "-0.558273287210E-25", "-0.346578420130E-28"]),
    (None, ["0.0", "0.586655087100E-01", "0.450322755820E-04", "0.289084072120E-07",
            "-0.330568966520E-09", "0.650244032700E-12", "-0.191974955040E-15", "-0.125366004970E-17",
            "0.214892175690E-20", "-0.143880417820E-23", "0.359608994810E-27"]),
]

J_RANGES = [
    (760, ["0.0", "0.503811878150E-01", "0.304758369300E-04", "-0.856810657200E-07",
           "0.132281952950E-09", "-0.170529583370E-12", "0.209480906970E-15", "-0.125383953360E-18",
           "0.156317256970E-22"]),
    (None, ["0.296456256810E+03", "-0.149761277860E+01", "0.317871039240E-02", "-0.318476867010E-05",
            "0.157208190040E-08", "-0.306913690560E-12"]),
]

T_RANGES = [
    (0, ["0.0", "0.387481063640E-01", "0.441944343470E-04", "0.118443231050E-06",
         "0.200329735540E-07", "0.901380195590E-09", "0.226511565930E-10", "0.360711542050E-12",
         "0.384939398830E-14", "0.282135219250E-16", "0.142515947790E-18", "0.487686622860E-21",
         "0.107955392700E-23", "0.139450270620E-26", "0.797951539270E-30"]),
    (None, ["0.0", "0.387481063640E-01", "0.332922278800E-04", "0.206182434040E-06",
            "-0.218822568460E-08", "0.109968809280E-10", "-0.308157587720E-13", "0.454791352900E-16",
            "-0.275129016730E-19"]),
]

R_RANGES = [
    ("1064.18", ["0.0", "0.528961729765E-02", "0.139166589782E-04", "-0.238855693017E-07",
                 "0.356916001063E-10", "-0.462347666298E-13", "0.500777441034E-16",
                 "-0.373105886191E-19", "0.157716482367E-22", "-0.281038625251E-26"]),
    ("1664.5", ["0.295157925316E+01", "-0.252061251332E-02", "0.159564501865E-04",
                "-0.764085947576E-08", "0.205305291024E-11", "-0.293359668173E-15"]),
    (None, ["0.152232118209E+03", "-0.268819888545E+00", "0.171280280471E-03",
            "-0.345895706453E-07", "-0.934633971046E-14"]),
]

S_RANGES = [
    ("1064.18", ["0.0", "0.540313308631E-02", "0.125934289740E-04", "-0.232477968689E-07",
                 "0.322028823036E-10", "-0.331465196389E-13", "0.255744251786E-16",
                 "-0.125068871393E-19", "0.271443176145E-23"]),
    ("1664.5", ["0.132900444085E+01", "0.334509311344E-02", "0.654805192818E-05",
                "-0.164856259209E-08", "0.129989605174E-13"]),
    (None, ["0.146628232636E+03", "-0.258430516752E+00", "0.163693574641E-03",
            "-0.330439046987E-07", "-0.943223690612E-14"]),
]

B_RANGES = [
    ("630.615", ["0.0", "-0.246508183460E-03", "0.590404211710E-05", "-0.132579316360E-08",
                 "0.156682919010E-11", "-0.169445292400E-14", "0.629903470940E-18"]),
    (None, ["-0.389381686210E+01", "0.285717474700E-01", "-0.848851047850E-04",
            "0.157852801640E-06", "-0.168353448640E-09", "0.111097940130E-12", "-0.445154310330E-16",
            "0.989756408210E-20", "-0.937913302890E-24"]),
]

N_RANGES = [
    (0, ["0.0", "0.261591059620E-01", "0.109574842280E-04", "-0.938411115540E-07",
         "-0.464120397590E-10", "-0.263033577160E-11", "-0.226534380030E-13", "-0.760893007910E-16",
         "-0.934196678350E-19"]),
    (None, ["0.0", "0.259293946010E-01", "0.157101418800E-04", "0.438256272370E-07",
            "-0.252611697940E-09", "0.643118193390E-12", "-0.100634715190E-14", "0.997453389920E-18",
            "-0.608632456070E-21", "0.208492293390E-24", "-0.306821961510E-28"]),
]


def iec(ranges):
    return lambda t: piecewise(ranges, t)


MILLI = D("0.001")


def iec_table(emf_mv, first, last):
    """The reference function in uV at each whole degree, to 0.001 uV."""
    return [rounded(emf_mv(D(t)) * 1000, MILLI) for t in range(first, last + 1)]


def table_b():
    # The function has its minimum near 21 degC; below it the device table keeps falling 0.01 uV per degree
    # instead, so it stays strictly increasing.
    above = iec_table(iec(B_RANGES), 21, 1870)
    below = [above[0] - D("0.01") * (21 - t) for t in range(-50, 21)]
    return below + above


# Tungsten-rhenium types C and D: the older public polynomials (E in mV, highest power first),
# evaluated to whole microvolts from 0 to 2315 degC, continued linearly on both sides.

C_POLY = ["-4.9446064258560002e-16", "3.6006582486412798e-12", "-1.0489145155399067e-08",
          "1.2252598548103214e-05", "1.3387722982319094e-02", "0"]
D_POLY_LOW = ["-1.4240735e-15", "7.9498033e-12", "-1.8464573e-8", "2.0592621e-5", "9.5685256e-3", "0"]
D_POLY_HIGH = ["-7.9026726e-16", "5.3743821e-12", "-1.4935266e-8", "1.8666488e-5", "9.9109462e-3", "0"]
# Smooth correction (uV) that brings D onto its current reference rows at 1000 and 2350 degC.
D_CORRECTION = ["0", "-1.715127e-03", "7.904887e-06", "-2.472801e-09"]

POLY_END = 2315


def table_c():
    def emf(t):
        return rounded(poly(list(reversed(C_POLY)), D(t)) * 1000, D(1))

    end = emf(POLY_END)
    return [D(13 * t) if t < 0 else emf(t) if t <= POLY_END else end + 9 * (t - POLY_END)
            for t in range(-50, 2351)]


def table_d():
    def emf(t):
        coefficients = D_POLY_LOW if t <= 783 else D_POLY_HIGH
        uv = poly(list(reversed(coefficients)), D(t)) * 1000 + poly(D_CORRECTION, D(t))
        return rounded(uv, D(1))

    end = emf(POLY_END)
    return [D(10 * t) if t < 0 else emf(t) if t <= POLY_END else end + 9 * (t - POLY_END)
            for t in range(-50, 2351)]


# Types U and L of the former national standard: basic values (uV) every 100 degC; between them the
# shape of the related IEC type (T for U, J for L) with the difference to the basic values interpolated
# linearly, rounded to 10 uV.

U_NODES = {-200: -5700, -100: -3400, 0: 0, 100: 4250, 200: 9200, 300: 14900, 400: 21000,
           500: 27410, 600: 34310}
L_NODES = {-150: -6600, -149: -6560, -100: -4750, 0: 0, 100: 5370, 200: 10950, 300: 16560,
           400: 22160, 500: 27850, 600: 33670, 700: 39720, 800: 46220, 900: 53140}

TEN = D(10)


def shaped(nodes, shape_uv, t):
    """shape_uv(t) plus the node difference interpolated linearly between the enclosing nodes."""
    keys = sorted(nodes)
    for lo, hi in zip(keys, keys[1:]):
        if lo <= t <= hi:
            dlo = nodes[lo] - shape_uv(D(lo))
            dhi = nodes[hi] - shape_uv(D(hi))
            return shape_uv(D(t)) + dlo + (dhi - dlo) * (t - lo) / (hi - lo)
    raise AssertionError("outside the nodes")


def table_u():
    def shape(t):
        return piecewise(T_RANGES, t) * 1000

    def value(t):
        if t < -200:
            return D(U_NODES[-200] + 20 * (t + 200))
        if t <= 400:
            return shaped(U_NODES, shape, t)
        if t <= 600:
            # Beyond the range of the T function: the parabola through the 400, 500 and 600 nodes.
            a, b, c = (D(U_NODES[x]) for x in (400, 500, 600))
            s1 = (b - a) / 100
            curvature = ((c - b) / 100 - s1) / 200
            return a + s1 * (t - 400) + curvature * (t - 400) * (t - 500)
        return D(U_NODES[600] + 70 * (t - 600))

    return [rounded(value(t), TEN) for t in range(-250, 651)]


def table_l():
    def shape(t):
        return piecewise(J_RANGES, t) * 1000

    def value(t):
        if t <= 900:
            return shaped(L_NODES, shape, t)
        return D(L_NODES[900] + 70 * (t - 900))

    return [rounded(value(t), TEN) for t in range(-150, 951)]


# Pt100 (IEC 60751) at 0.01 Ohm, times ten for the Pt1000 sensor; linear beyond -200 and 850 degC.
PT_A = D("3.9083e-3")
PT_B = D("-5.775e-7")
PT_C = D("-4.183e-12")


def table_pt1000():
    def pt100(t):
        t = D(t)
        r = 1 + PT_A * t + PT_B * t * t
        if t < 0:
            r += PT_C * (t - 100) * t ** 3
        return rounded(100 * r, D("0.01"))

    values = []
    for t in range(-250, 901):
        if t < -200:
            values.append(10 * pt100(-200) + D("4.3") * (t + 200))
        elif t <= 850:
            values.append(10 * pt100(t))
        else:
            values.append(10 * pt100(850) + D("2.9") * (t - 850))
    return values


# (name, first degC, period index, values)
def standard_tables():
    return [
        ("K", -230, 2, iec_table(emf_k, -230, 1422)),
        ("E", -150, 3, iec_table(iec(E_RANGES), -150, 1050)),
        ("J", -150, 3, iec_table(iec(J_RANGES), -150, 1250)),
        ("T", -250, 1, iec_table(iec(T_RANGES), -250, 450)),
        ("B", -50, 0, table_b()),
        ("R", -100, 1, iec_table(iec(R_RANGES), -100, 1810)),
        ("S", -100, 1, iec_table(iec(S_RANGES), -100, 1810)),
        ("C", -50, 2, table_c()),
        ("D", -50, 2, table_d()),
        ("N", -230, 2, iec_table(iec(N_RANGES), -230, 1350)),
        ("U", -250, 2, table_u()),
        ("L", -150, 2, table_l()),
    ]


# Rows the device tables are known to hold (degC, uV).
KNOWN_ROWS = {
    "K": {-230: "-6261.838", 0: "0", 100: "4096.230", 1372: "54886.364", 1422: "56566.652"},
    "N": {1000: "36255.538"},
    "S": {1000: "9587.098"},
    "B": {-50: "-3.295", 0: "-2.795", 21: "-2.585", 25: "-2.493", 1000: "4834.339", 1870: "14386.919"},
    "C": {-50: "-650", -49: "-637", 0: "0", 100: "1451", 1000: "18257", 2350: "37376"},
    "D": {-50: "-500", -49: "-490", 0: "0", 100: "1145", 1000: "18230", 2350: "39823"},
    "U": {-250: "-6700", -249: "-6680", 0: "0", 100: "4250", 650: "37810"},
    "L": {-150: "-6600", -149: "-6560", 0: "0", 100: "5370", 950: "56640"},
}
KNOWN_PT1000 = {-250: "-29.8", -201: "180.9", -200: "185.2", 0: "1000.0", 100: "1385.1",
                325: "2209.2", 850: "3904.8", 851: "3907.7", 900: "4049.8"}


def check(name, first, values, known):
    for a, b in zip(values, values[1:]):
        if not b > a:
            sys.exit(f"{name}: not strictly increasing at {a} -> {b}")
    for t, expected in known.items():
        if values[t - first] != D(expected):
            sys.exit(f"{name} at {t} degC: {values[t - first]}, expected {expected}")


def literal(value):
    text = format(value.normalize(), "f")
    return text if "." in text else text + ".0"


def emit_array(out, name, values):
    out.append(f"constexpr double {name}[{len(values)}] = {{")
    for i in range(0, len(values), 8):
        out.append("    " + ", ".join(literal(v) for v in values[i:i + 8]) + ",")
    out.append("};")
    out.append("")


def generate():
    tables = standard_tables()
    for name, first, _, values in tables:
        check(name, first, values, KNOWN_ROWS.get(name, {}))
    pt1000 = table_pt1000()
    check("Pt1000", -250, pt1000, KNOWN_PT1000)

    out = [
        "// Generated by tools/gen_tc_tables.py; edit the script, not this file.",
        "",
        '#include "model/thermocouple/tc_reference.h"',
        "",
        "namespace {",
        "",
    ]
    for name, _, _, values in tables:
        emit_array(out, f"kEmf{name}", values)
    emit_array(out, "kPt1000", pt1000)
    out.append("constexpr CTcReference kReferences[kTcStandardTypes] = {")
    for name, first, period, _ in tables:
        out.append(f"    {{kEmf{name}, {first}.0, {period}}},")
    out.append("};")
    out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("const CTcReference* FindTcReference(int32_t type) {")
    out.append("    if (type < 0 || type >= kTcStandardTypes) return nullptr;")
    out.append("    return &kReferences[type];")
    out.append("}")
    out.append("")
    out.append("std::span<const double, kPt1000Entries> Pt1000Reference() { return kPt1000; }")
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    write_or_check("model/thermocouple/tc_reference.cpp", generate)
