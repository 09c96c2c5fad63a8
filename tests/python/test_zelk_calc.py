# The module against zelk-calc: the same numbers to the last bit, the same texts, the same taps.
import csv
import io
import math
import random

import numpy as np
import pytest

import zelk
from conftest import bits, lineas

RAROS = [0.0, -0.0, 1.0, -1.0, 5e-324, 2.2250738585072014e-308, 1e-300, 1e300, -1e300,
         1.7976931348623157e308, 0.5, 3.88]


def puntos(cuantos, semilla):
    """Points around the start-up values, some far from them, some with odd values."""
    g = random.Random(semilla)
    filas = []
    for _ in range(cuantos):
        escala = g.choice([0.1, 0.5, 1.0, 3.0])
        fila = {}
        for p in zelk.PARAMETROS:
            base = zelk.VALORES_INICIO[p] or 10.0
            fila[p] = base * (1 + escala * g.uniform(-1, 1))
        modo = g.random()
        if modo < 0.25:
            for p in g.sample(zelk.PARAMETROS, g.randint(1, 3)):
                fila[p] = g.choice(RAROS)
        elif modo < 0.4:
            for p in g.sample(zelk.PARAMETROS, g.randint(1, 3)):
                fila[p] = g.uniform(-1, 1) * 10 ** g.uniform(-40, 40)
        filas.append(fila)
    return filas


def test_calcular_coincide_con_zelk_calc_raw_hasta_el_ultimo_bit(zelk_calc):
    filas = puntos(3000, 20240601)
    entrada = io.StringIO()
    escritor = csv.writer(entrada, lineterminator="\n")
    escritor.writerow(zelk.PARAMETROS)
    for fila in filas:
        # repr is the shortest text that reads back as the same double.
        escritor.writerow([repr(fila[p]) for p in zelk.PARAMETROS])
    p = zelk_calc("--csv", "-", "--raw", entrada=entrada.getvalue())
    assert p.returncode in (0, 3), p.stderr
    tabla = list(csv.DictReader(io.StringIO(p.stdout)))
    assert len(tabla) == len(filas)

    lote = zelk.calcular_lote({n: [f[n] for f in filas] for n in zelk.PARAMETROS})
    diferencias = []
    aceptadas = 0
    for i, (fila, salida) in enumerate(zip(filas, tabla)):
        if salida["estado"] != "OK":
            assert salida["estado"] == "ERROR EN DATOS"
            with pytest.raises(zelk.DatosRechazados):
                zelk.calcular(**fila)
            assert not lote["aceptado"][i]
            assert all(math.isnan(lote[n][i]) for n in zelk.RESULTADOS)
            continue
        aceptadas += 1
        assert lote["aceptado"][i]
        for n in zelk.PARAMETROS:
            assert bits(float(salida[n])) == bits(fila[n]), (i, n)
        r = zelk.calcular(**fila)
        for n in zelk.RESULTADOS:
            esperado = None if salida[n] == "ERROR" else float(salida[n])
            obtenido = r[n]
            if (esperado is None) != (obtenido is None) or (
                    esperado is not None and bits(esperado) != bits(obtenido)):
                diferencias.append((i, n, salida[n], obtenido))
            assert bits(math.nan if obtenido is None else obtenido) == bits(lote[n][i])
    assert diferencias == []
    # The points reach every kind of row.
    assert 1500 < aceptadas < len(filas)
    assert any(r == "ERROR" for s in tabla for r in s.values())


LOCALES = ["en_US", "es_ES", "fr_FR"]
TEXTOS = [
    {},
    {"Idc": "1000"},
    {"Rdc": "12.345"},
    {"Xcr": "3,88"},
    {"Idc": "  2e3  ", "Vdci": "+500"},
    {"Nr": "-2", "Vdcnom": "1.5E+20"},
    {"tapi": "1.1", "Rci": "1"},
    {"Idc": "1\u202f000"},
    {"Uacr": "1.000,5"},
]


@pytest.mark.parametrize("locale", LOCALES)
@pytest.mark.parametrize("textos", TEXTOS, ids=[str(i) for i in range(len(TEXTOS))])
def test_pasada_coincide_con_zelk_calc(zelk_calc, locale, textos):
    p = zelk_calc("--locale", locale, *[f"{k}={v}" for k, v in textos.items()])
    if p.returncode == 3:
        with pytest.raises(zelk.DatosRechazados) as e:
            zelk.pasada(textos, locale=locale)
        # zelk-calc gives a reason per datum at fault after the window's message.
        motivos = [m.removeprefix("zelk-calc: ") for m in p.stderr.splitlines()
                   if m.startswith("zelk-calc: «")]
        assert str(e.value) == "; ".join(motivos)
        return
    assert p.returncode == 0, p.stderr
    assert zelk.pasada(textos, locale=locale) == lineas(p.stdout)


def comparar_tap(r, salida, tap):
    assert float(salida[tap + "_exacto"]) == pytest.approx(r[tap + "_exacto"], rel=1e-14)
    assert float(salida[tap]) == pytest.approx(r[tap], rel=1e-14)
    for n in zelk.RESULTADOS:
        if salida[n] == "ERROR":
            assert r[n] is None
        else:
            decimales = len(salida[n].partition(".")[2])
            assert abs(r[n] - float(salida[n])) <= 0.5 * 10**-decimales * (1 + 1e-9) + 1e-9, n


@pytest.mark.parametrize("argumentos, llamada", [
    (["--tap-for", "alpha=15"], dict(angulo="alpha", grados=15)),
    (["--tap-for", "gamma=18"], dict(angulo="gamma", grados=18)),
    (["--tap-for", "alpha=12.5", "Idc=1000", "Rdc=10"],
     dict(angulo="alpha", grados=12.5, Idc=1000, Rdc=10)),
    (["--tap-for", "gamma=18", "--tap-step", "0.0125", "--tap-range", "0.9:1.1"],
     dict(angulo="gamma", grados=18, paso=0.0125, margen=(0.9, 1.1))),
    (["--tap-for", "alpha=15", "--tap-step", "0.01", "--tap-range", "0.8:1.2", "Uacr=480"],
     dict(grados=15, paso=0.01, margen=[0.8, 1.2], Uacr=480)),
], ids=["alpha", "gamma", "con_datos", "escalones_gamma", "escalones_alpha"])
def test_tap_para_coincide_con_zelk_calc(zelk_calc, argumentos, llamada):
    p = zelk_calc("--locale", "en_US", *argumentos)
    assert p.returncode == 0, p.stderr
    tap = "tapr" if llamada.get("angulo", "alpha") == "alpha" else "tapi"
    r = zelk.tap_para(**llamada)
    assert list(r) == [tap + "_exacto", tap, *zelk.RESULTADOS]
    comparar_tap(r, lineas(p.stdout), tap)


@pytest.mark.parametrize("argumentos, llamada", [
    (["--tap-for", "alpha=120"], dict(grados=120)),
    (["--tap-for", "gamma=200"], dict(angulo="gamma", grados=200)),
    (["--tap-for", "alpha=15", "Xcr=0", "Rcr=0", "Idc=0", "Vdci=0"],
     dict(grados=15, Xcr=0, Rcr=0, Idc=0, Vdci=0)),
    (["--tap-for", "alpha=15", "--tap-step", "0.01", "--tap-range", "1.05:1.1"],
     dict(grados=15, paso=0.01, margen=(1.05, 1.1))),
], ids=["angulo_imposible", "fuera_de_0_180", "coseno_nulo", "fuera_del_margen"])
def test_tap_imposible_con_el_motivo_de_zelk_calc(zelk_calc, argumentos, llamada):
    p = zelk_calc("--locale", "en_US", *argumentos)
    assert p.returncode == 3
    with pytest.raises(zelk.TapImposible) as e:
        zelk.tap_para(**llamada)
    assert "zelk-calc: " + str(e.value) == p.stderr.strip()


def test_tap_con_datos_rechazados(zelk_calc):
    # zelk-calc names the field and its text; the module the parameter and its number.
    p = zelk_calc("--tap-for", "alpha=15", "tapi=0")
    assert p.returncode == 3
    assert p.stderr.startswith("zelk-calc: ERROR EN DATOS: «tapi» = «0» no puede valer 0")
    with pytest.raises(zelk.DatosRechazados) as e:
        zelk.tap_para(grados=15, tapi=0)
    assert (str(e.value), e.value.parametro, e.value.valor) == (
        "tapi = 0 no puede valer 0", "tapi", 0.0)


def test_el_tap_buscado_no_necesita_valor_propio(zelk_calc):
    p = zelk_calc("--locale", "en_US", "--tap-for", "alpha=15", "tapr=0")
    assert p.returncode == 0, p.stderr
    comparar_tap(zelk.tap_para(grados=15, tapr=0), lineas(p.stdout), "tapr")


@pytest.mark.parametrize("argumentos, llamada, motivo", [
    (["--tap-step", "0.5", "--tap-range", "-1:1"], dict(paso=0.5, margen=(-1, 1)),
     "margen=(mínimo, máximo): los taps son mayores que 0 y mínimo <= máximo"),
    (["--tap-step", "1e-9", "--tap-range", "0.5:1.5"], dict(paso=1e-9, margen=(0.5, 1.5)),
     "paso: el paso 1E-09 es demasiado pequeño para (0.5, 1.5) (más de 1000000 posiciones)"),
    (["--tap-step", "0", "--tap-range", "0.9:1.1"], dict(paso=0, margen=(0.9, 1.1)),
     "paso: el paso ha de ser mayor que 0"),
], ids=["margen_con_cero", "paso_demasiado_pequeno", "paso_cero"])
def test_escalones_sin_sentido_rechazados_como_en_zelk_calc(zelk_calc, argumentos, llamada,
                                                             motivo):
    # The same reason as zelk-calc's, in the words of Python's arguments.
    p = zelk_calc("--locale", "en_US", "--tap-for", "alpha=89", *argumentos)
    assert p.returncode == 2
    with pytest.raises(ValueError) as e:
        zelk.tap_para(grados=89, **llamada)
    assert str(e.value) == "tap_para: " + motivo
    comun = motivo.split(": ", 1)[1].split(" (")[0].split(" 1E")[0]
    assert comun.replace("mínimo", "MIN").replace("máximo", "MAX") in p.stderr


@pytest.mark.parametrize("llamada, error", [
    (dict(paso=0.01), ValueError),
    (dict(margen=(0.9, 1.1)), ValueError),
    (dict(paso=0, margen=(0.9, 1.1)), ValueError),
    (dict(paso=-0.01, margen=(0.9, 1.1)), ValueError),
    (dict(paso=math.inf, margen=(0.9, 1.1)), ValueError),
    (dict(paso=0.01, margen=(1.1, 0.9)), ValueError),
    (dict(paso=0.01, margen=(math.nan, 1.1)), ValueError),
    (dict(paso=0.01, margen=(0.9, 1.0, 1.1)), ValueError),
    (dict(paso=0.01, margen="0.9:1.1"), ValueError),
    (dict(paso=0.01, margen=0.9), ValueError),
    (dict(angulo="beta"), ValueError),
    (dict(angulo=1), TypeError),
    (dict(grados=math.nan), ValueError),
    (dict(grados=math.inf), ValueError),
    (dict(grados="15"), TypeError),
    (dict(tapx=1), TypeError),
], ids=lambda v: str(v) if not isinstance(v, dict) else "-".join(f"{k}={v!r}" for k, v in v.items()))
def test_tap_para_argumentos_erroneos(llamada, error):
    with pytest.raises(error):
        zelk.tap_para(**llamada)


@pytest.mark.parametrize("llamada, mensaje", [
    (dict(paso=0.0125, margen="0.9:1.1"),
     "margen ha de ser un par (mínimo, máximo), no str («0.9:1.1»)"),
    (dict(paso=0.01, margen=(0.9, 1.0, 1.1)),
     "margen ha de ser un par (mínimo, máximo), no tuple de 3 elementos («(0.9, 1.0, 1.1)»)"),
    (dict(margen=(0.9, 1.1)), "paso y margen=(mínimo, máximo) van juntos; falta paso"),
], ids=["texto", "terna", "sin_paso"])
def test_tap_para_dice_que_falla_en_paso_y_margen(llamada, mensaje):
    with pytest.raises(ValueError) as e:
        zelk.tap_para(**llamada)
    assert str(e.value) == "tap_para: " + mensaje


def test_tap_para_devuelve_el_tap_que_da_el_angulo():
    r = zelk.tap_para("alpha", 15)
    assert r["alpha"] == pytest.approx(15, abs=1e-9)
    assert zelk.calcular(tapr=r["tapr"]) == {k: r[k] for k in zelk.RESULTADOS}
    # The caller's own tap is replaced by the one found.
    assert zelk.tap_para("alpha", 15, tapr=3)["tapr"] == r["tapr"]
    assert np.isclose(zelk.tap_para("gamma", 18)["gamma"], 18)
