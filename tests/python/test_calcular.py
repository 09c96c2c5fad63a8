# zelk.calcular: numbers in, the engine's 13 results out, and the window's checks.
import math
import random

import numpy as np
import pytest

import zelk
from conftest import EJEMPLOS, bits

MENSAJE = "ERROR EN DATOS. Se sobreescriben con los valores por defecto."


@pytest.mark.parametrize("nombre, textos, figuras", EJEMPLOS, ids=[e[0] for e in EJEMPLOS])
def test_ejemplos_dan_las_figuras_de_la_ventana(nombre, textos, figuras):
    r = zelk.calcular(**{k: float(v) for k, v in textos.items()})
    for resultado, figura in figuras.items():
        if figura == "ERROR":
            assert r[resultado] is None, resultado
            continue
        decimales = len(figura.partition(".")[2])
        # The figure is the value rounded to the decimals the window shows.
        assert abs(r[resultado] - float(figura)) <= 0.5 * 10**-decimales + 1e-12, resultado


def test_resultados_en_orden_y_como_float():
    r = zelk.calcular()
    assert tuple(r) == zelk.RESULTADOS
    assert all(type(v) is float for v in r.values())


def test_valores_del_inicio():
    assert zelk.PARAMETROS[:6] == ("Uacr", "tapr", "Nr", "Idc", "Rcr", "Xcr")
    assert len(zelk.PARAMETROS) == 18 and len(zelk.RESULTADOS) == 13
    esperados = [500, 1, 2, 2000, 0, 3.88, 500, 1, 2, 525, 0, 3.88, 12, 550, 220, 220, 500, 500]
    assert [zelk.VALORES_INICIO[p] for p in zelk.PARAMETROS] == esperados
    assert zelk.calcular(**zelk.VALORES_INICIO) == zelk.calcular()
    assert zelk.TITULOS["alpha"] == "alpha [º]" and zelk.TITULOS["Idc"] == "Idc [A]"


RECHAZADOS = [
    ("tapr_cero", {"tapr": 0}),
    ("Eacr_nom_cero", {"Eacr_nom": 0.0}),
    ("Nr_menos_cero", {"Nr": -0.0}),
    ("Uaci_nom_cero_entero", {"Uaci_nom": np.int64(0)}),
    ("Uacr_nan", {"Uacr": math.nan}),
    ("Idc_infinito", {"Idc": math.inf}),
    ("Vdcnom_menos_infinito", {"Vdcnom": -math.inf}),
    ("Xcr_nan_y_tapi_cero", {"Xcr": math.nan, "tapi": 0}),
]


@pytest.mark.parametrize("nombre, datos", RECHAZADOS, ids=[r[0] for r in RECHAZADOS])
def test_datos_rechazados_levantan_el_mensaje_de_la_ventana(nombre, datos):
    with pytest.raises(zelk.DatosRechazados) as e:
        zelk.calcular(**datos)
    assert str(e.value) == MENSAJE
    assert isinstance(e.value, ValueError)
    # Nothing was reset or kept: the next call computes from its own data.
    assert zelk.calcular(Idc=1000)["Pr"] == 537.0
    assert zelk.VALORES_INICIO["Xcr"] == 3.88


ACEPTADOS = [
    ("Idc_cero", {"Idc": 0}),
    ("Rcr_Rdc_cero", {"Rcr": 0, "Rdc": 0}),
    ("Nr_negativo", {"Nr": -2}),
    ("Nr_fraccionario", {"Nr": 2.5}),
    ("tapr_diminuto", {"tapr": 1e-300}),
    ("Uacr_enorme", {"Uacr": 1e308}),
    ("Vdci_subnormal", {"Vdci": 5e-324}),
]


@pytest.mark.parametrize("nombre, datos", ACEPTADOS, ids=[a[0] for a in ACEPTADOS])
def test_sin_comprobacion_de_signo_ni_tamano(nombre, datos):
    r = zelk.calcular(**datos)
    # No result is ever infinite or NaN: what cannot be formed is None.
    assert all(v is None or math.isfinite(v) for v in r.values())


def test_tipos_de_numero():
    esperado = zelk.calcular(Idc=1000.0)
    for valor in (1000, np.int32(1000), np.float32(1000), np.float64(1000), np.array(1000.0)):
        assert zelk.calcular(Idc=valor) == esperado


@pytest.mark.parametrize("llamada, error, texto", [
    (lambda: zelk.calcular(IDC=1000), TypeError, "«IDC»"),
    (lambda: zelk.calcular(Idc="1000"), TypeError, "pasada()"),
    (lambda: zelk.calcular(Idc=b"1000"), TypeError, "«Idc»"),
    (lambda: zelk.calcular(Idc=1j), TypeError, ""),
    (lambda: zelk.calcular(Idc=[1000, 2000]), TypeError, ""),
    (lambda: zelk.calcular(Idc=10**400), OverflowError, ""),
    (lambda: zelk.calcular(1000), TypeError, ""),
], ids=["nombre", "texto", "bytes", "complejo", "lista", "entero_enorme", "posicional"])
def test_argumentos_erroneos(llamada, error, texto):
    with pytest.raises(error) as e:
        llamada()
    assert texto in str(e.value)


def test_calcular_y_calcular_lote_coinciden_bit_a_bit():
    g = random.Random(7)
    filas = [{p: zelk.VALORES_INICIO[p] * g.uniform(0.6, 1.4) for p in zelk.PARAMETROS}
             for _ in range(300)]
    lote = zelk.calcular_lote({p: [f[p] for f in filas] for p in zelk.PARAMETROS})
    for i, fila in enumerate(filas):
        r = zelk.calcular(**fila)
        for nombre, valor in r.items():
            assert bits(math.nan if valor is None else valor) == bits(lote[nombre][i])
