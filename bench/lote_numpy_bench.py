"""zelk.calcular_lote against the same equations written with NumPy, on the same points.

Figures, not a test. Run with the module of the build tree:

    PYTHONPATH=build/python /usr/bin/python3 bench/lote_numpy_bench.py [--puntos N] [--veces R]

Prints the median time of R runs of each, taken in turn, and the rows per second; the module on
one thread and on two, NumPy as it is (its ufuncs run on one core). It also counts the results in which NumPy
differs from the engine, bit for bit, and by how much.
"""
import argparse
import math
import os
import platform
import statistics
import time

import numpy as np

import zelk

PI = 3.14159  # the calculation's own pi
RAIZ2 = math.sqrt(2.0)
RAIZ6 = math.sqrt(6.0)
PUENTE = (RAIZ2 * 3) / PI
PRUEBA_CERO = ("Uacr", "tapr", "Nr", "Uaci", "tapi", "Ni", "Eacr_nom", "Eaci_nom", "Uacr_nom",
               "Uaci_nom")


def finito(x):
    return np.where(np.isfinite(x), x, np.nan)


def angulo(c, b):
    """The angle step: arctan(sqrt(1 - c^2) / c), plus pi for a negative c, pi/2 for a zero c,
    less b; NaN unless |c| <= 1."""
    a = np.arctan(np.sqrt(1 - (c * c)) / c)
    a = np.where(c < 0, a + PI, a)
    a = np.where(c == 0, PI / 2, a)
    return finito(np.where(np.abs(c) <= 1, a - b, np.nan))


def razon(a, m):
    """The ratio step: Q/P of a bridge; NaN where the denominator is exactly zero."""
    d = np.cos(2 * a) - np.cos(2 * (m + a))
    q = ((2 * m) + np.sin(2 * a) - np.sin(2 * (m + a))) / d
    return finito(np.where(d == 0, np.nan, q))


def extremo(coseno, idc, xc, eac):
    ang = angulo(coseno, 0)
    cos_suma = finito(np.cos(ang) - (((RAIZ2 * idc) * xc) / eac))
    solape = angulo(cos_suma, ang)
    return ang, solape, razon(ang, solape)


def grados(v):
    return finito(((v * 360) / 2) / PI)


def enlace_numpy(d):
    """The 13 results of every row, NaN where the window shows "ERROR" or rejects the row."""
    with np.errstate(all="ignore"):
        relr = finito(d["Eacr_nom"] / d["Uacr_nom"])
        reli = finito(d["Eaci_nom"] / d["Uaci_nom"])
        eacr = finito(((d["Uacr"] * 1000) * relr) / d["tapr"])
        eaci = finito(((d["Uaci"] * 1000) * reli) / d["tapi"])
        idc = d["Idc"]
        iaci = finito(((((RAIZ6 * d["Ni"]) / PI) * idc) * reli) / d["tapi"])
        iacr = finito(((((RAIZ6 * d["Nr"]) / PI) * idc) * relr) / d["tapr"])
        vdcr_v = finito((d["Vdci"] * 1000) + (idc * d["Rdc"]))

        cos_alpha = finito(((vdcr_v / d["Nr"]) + (((3 * d["Xcr"]) * idc) / PI) +
                            ((2 * d["Rcr"]) * idc)) / (PUENTE * eacr))
        alpha, mur, tgphir = extremo(cos_alpha, idc, d["Xcr"], eacr)
        pr = finito((vdcr_v * idc) / 1_000_000)
        qr = finito(pr * tgphir)

        cos_gamma = finito((((d["Vdci"] * 1000) / d["Ni"]) + (((3 * d["Xci"]) * idc) / PI) -
                            ((2 * d["Rci"]) * idc)) / (PUENTE * eaci))
        gamma, mui, tgphii = extremo(cos_gamma, idc, d["Xci"], eaci)
        pi = finito((((-d["Vdci"]) * 1000) * idc) / 1_000_000)
        qi = finito((-pi) * tgphii)

        aceptado = np.ones(len(idc), dtype=bool)
        for nombre, valores in d.items():
            aceptado &= np.isfinite(valores)
            if nombre in PRUEBA_CERO:
                aceptado &= valores != 0
        r = {"alpha": grados(alpha), "mur": grados(mur), "tgphir": tgphir, "gamma": grados(gamma),
             "mui": grados(mui), "tgphii": tgphii, "Vdcr": finito(vdcr_v / 1000), "Iacr": iacr,
             "Pr": pr, "Qr": qr, "Iaci": iaci, "Pi": pi, "Qi": qi}
        r = {k: np.where(aceptado, v, np.nan) for k, v in r.items()}
    r["aceptado"] = aceptado
    return r


def puntos(n):
    """A sweep of Idc with every other parameter spread 10 % around its start-up value."""
    g = np.random.default_rng(1)
    d = {p: zelk.VALORES_INICIO[p] * g.uniform(0.9, 1.1, n) for p in zelk.PARAMETROS}
    d["Idc"] = np.linspace(500, 3000, n)
    d["Rcr"] = g.uniform(0, 1, n)
    d["Rci"] = g.uniform(0, 1, n)
    return d


def medir(casos, veces):
    """Times of each case, the cases taken in turn so that a change of the machine's load falls on
    all of them alike."""
    for _, funcion in casos:
        funcion()  # warm caches and pages
    tiempos = {nombre: [] for nombre, _ in casos}
    for _ in range(veces):
        for nombre, funcion in casos:
            inicio = time.perf_counter()
            funcion()
            tiempos[nombre].append(time.perf_counter() - inicio)
    return tiempos


def diferencias(a, b):
    return sum(int(np.count_nonzero(a[k].view(np.uint64) != b[k].view(np.uint64)))
               for k in zelk.RESULTADOS)


def mayor_diferencia_relativa(a, b):
    with np.errstate(all="ignore"):
        return max(float(np.nanmax(np.abs(a[k] - b[k]) / np.abs(a[k]), initial=0))
                   for k in zelk.RESULTADOS)


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--puntos", type=int, default=1_000_000)
    argumentos.add_argument("--veces", type=int, default=11)
    a = argumentos.parse_args()

    d = puntos(a.puntos)
    modelo = "?"
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            modelo = next(l.split(":", 1)[1].strip() for l in f if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    print(f"{platform.node()}: {modelo}, {os.cpu_count()} núcleos, "
          f"carga {os.getloadavg()[0]:.2f}; Python {platform.python_version()}, "
          f"NumPy {np.__version__}, zelk {zelk.__version__}")
    print(f"{a.puntos} puntos, mediana de {a.veces} veces")

    casos = [("NumPy", lambda: enlace_numpy(d)),
             ("zelk 1 hilo", lambda: zelk.calcular_lote(d, hilos=1)),
             ("zelk 2 hilos", lambda: zelk.calcular_lote(d, hilos=2))]
    for nombre, t in medir(casos, a.veces).items():
        m = statistics.median(t)
        print(f"  {nombre:13} {m * 1000:8.1f} ms  ({min(t) * 1000:.1f} a {max(t) * 1000:.1f})  "
              f"{a.puntos / m / 1e6:6.2f} millones de filas/s")
    print(f"carga al terminar {os.getloadavg()[0]:.2f}")

    motor = zelk.calcular_lote(d, hilos=1)
    assert diferencias(motor, zelk.calcular_lote(d, hilos=2)) == 0
    numpy = enlace_numpy(d)
    assert (numpy["aceptado"] == motor["aceptado"]).all()
    # NumPy's own sine, cosine and arctangent round differently from the C library's in the last
    # bit for many arguments, so its figures are the engine's only to rounding.
    print(f"resultados en que NumPy difiere del motor: {diferencias(numpy, motor)} de "
          f"{13 * a.puntos}, como mucho en {mayor_diferencia_relativa(motor, numpy):.1e} relativo")


if __name__ == "__main__":
    main()
