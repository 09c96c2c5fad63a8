# zelk.calcular: numbers in, the engine's 13 results out, and the window's checks.
import math
import pickle
import random
from decimal import Decimal
from fractions import Fraction

import numpy as np
import pytest

import zelk
from conftest import EJEMPLOS, bits


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
    ("tapr_cero", {"tapr": 0}, "tapr = 0 no puede valer 0", 0.0),
    ("Eacr_nom_cero", {"Eacr_nom": 0.0}, "Eacr_nom = 0 no puede valer 0", 0.0),
    ("Nr_menos_cero", {"Nr": -0.0}, "Nr = -0 no puede valer 0", -0.0),
    ("Uaci_nom_cero_entero", {"Uaci_nom": np.int64(0)}, "Uaci_nom = 0 no puede valer 0", 0.0),
    ("Uacr_nan", {"Uacr": math.nan}, "Uacr = nan no es un número finito", math.nan),
    ("Idc_infinito", {"Idc": math.inf}, "Idc = inf no es un número finito", math.inf),
    ("Vdcnom_menos_infinito", {"Vdcnom": -math.inf}, "Vdcnom = -inf no es un número finito",
     -math.inf),
    # Every datum at fault, in canonical order; the first is the one named.
    ("tapi_cero_y_Xcr_nan", {"tapi": 0, "Xcr": math.nan},
     "Xcr = nan no es un número finito; tapi = 0 no puede valer 0", math.nan),
]


@pytest.mark.parametrize("nombre, datos, mensaje, valor", RECHAZADOS,
                         ids=[r[0] for r in RECHAZADOS])
def test_datos_rechazados_dicen_cual_y_por_que(nombre, datos, mensaje, valor):
    with pytest.raises(zelk.DatosRechazados) as e:
        zelk.calcular(**datos)
    assert str(e.value) == mensaje
    assert e.value.parametro == mensaje.split(" ")[0]
    assert type(e.value.valor) is float and bits(e.value.valor) == bits(valor)
    assert isinstance(e.value, ValueError)
    # It crosses processes whole.
    copia = pickle.loads(pickle.dumps(e.value))
    assert (str(copia), copia.parametro, bits(copia.valor)) == (mensaje, e.value.parametro,
                                                                bits(valor))
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
    for valor in (1000, np.int32(1000), np.float32(1000), np.float64(1000), np.array(1000.0),
                  Decimal(1000), Fraction(1000)):
        assert zelk.calcular(Idc=valor) == esperado
    # True and False are 1 and 0, as in NumPy.
    assert zelk.calcular(Rdc=True) == zelk.calcular(Rdc=1)


@pytest.mark.parametrize("llamada, error, texto", [
    (lambda: zelk.calcular(IDC=1000), TypeError, "«IDC»; ¿es «Idc»?"),
    (lambda: zelk.calcular(**{"\u0406dc": 1000}), TypeError,
     "«\u0406dc»; ¿es «Idc»? (el nombre lleva U+0406)"),
    (lambda: zelk.calcular(Pr=1000), TypeError, "«Pr»: es un resultado"),
    (lambda: zelk.calcular(caso=1), TypeError, "los datos son Uacr, tapr"),
    (lambda: zelk.calcular(Idc="1000"), TypeError, "pasada()"),
    (lambda: zelk.calcular(Idc=b"1000"), TypeError, "«Idc» es texto"),
    (lambda: zelk.calcular(Idc=np.array("1.000")), TypeError, "«Idc» es texto («1.000»)"),
    (lambda: zelk.calcular(Idc=np.str_("1000")), TypeError, "«Idc» es texto"),
    (lambda: zelk.calcular(Idc=np.array(1000, dtype=object)), TypeError, "«Idc»"),
    (lambda: zelk.calcular(Idc=None), TypeError, "calcular: «Idc» es None"),
    (lambda: zelk.tap_para(Idc=None), TypeError, "tap_para: «Idc» es None"),
    (lambda: zelk.calcular(Idc=1j), TypeError, "«Idc» ha de ser un número, no complex"),
    (lambda: zelk.calcular(Idc=[1000, 2000]), TypeError, "«Idc» ha de ser un número, no list"),
    (lambda: zelk.calcular(Idc=10**400), OverflowError, ""),
    (lambda: zelk.calcular(1000), TypeError, ""),
], ids=["nombre", "cirilica", "resultado", "ajeno", "texto", "bytes", "texto_numpy", "str_numpy",
        "objeto_numpy", "none", "none_tap", "complejo", "lista", "entero_enorme", "posicional"])
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
