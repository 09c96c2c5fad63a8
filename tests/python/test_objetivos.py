# The reasons, the detail and targets from Python: the same texts and numbers as zelk-calc's, a
# target's values typed back giving the value asked for, and batches that agree with one link.
import math

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import bits, lineas

CON_ERRORES = [
    ("vdci_alta", {"Vdci": 700}),
    ("vdci_baja", {"Vdci": -700}),
    ("sin_reactancia", {"Xcr": 0}),
    ("puentes_y_solape", {"Nr": 1.5, "Xci": 80, "Vdci": 0}),
    ("desborda", {"Vdci": 1e306, "Idc": 1e6}),
]


@pytest.mark.parametrize("nombre, datos", CON_ERRORES, ids=[c[0] for c in CON_ERRORES])
def test_motivos_los_de_zelk_calc(zelk_calc, nombre, datos):
    p = zelk_calc(*(f"{k}={v!r}" for k, v in datos.items()))
    assert p.returncode == 0
    r = zelk.calcular(**datos, motivos=True)
    assert r["motivos"] == tuple(l.removeprefix("zelk-calc: ") for l in p.stderr.splitlines())
    assert r["motivos"], "every case has something to say"
    sin = zelk.calcular(**datos)
    assert "motivos" not in sin and all(bits(r[k] or 0.0) == bits(sin[k] or 0.0) for k in sin)
    # The same per row of a batch, and a rejected row says why.
    lote = zelk.calcular_lote({**{k: [v, v] for k, v in datos.items()},
                               "Nr": [datos.get("Nr", 2), 0]}, motivos=True)
    assert lote["motivos"][0] == r["motivos"]
    assert lote["motivos"][1] == ("Nr = 0 no puede valer 0",)
    assert list(lote)[-2:] == ["motivos", "aceptado"]


def test_motivos_bajo_control(zelk_calc):
    datos = {"orden": "potencia", "consigna": 500, "Nr": 2.5}
    p = zelk_calc(*(f"{k}={v}" for k, v in datos.items()))
    r = zelk.resolver_control(**datos, motivos=True)
    assert r["motivos"] == tuple(l.removeprefix("zelk-calc: ") for l in p.stderr.splitlines())
    assert r["motivos"]
    lote = zelk.resolver_control_lote(**datos, motivos=True)
    assert lote["motivos"][0] == r["motivos"]


def test_detalle_el_de_zelk_calc(zelk_calc):
    datos = {"Idc": 1600, "Xcr": 6.2292, "Rci": 0.5}
    p = zelk_calc("--detalle", "--raw", *(f"{k}={v}" for k, v in datos.items()))
    esperado = lineas(p.stdout)
    d = zelk.detalle(**datos)
    assert list(d) == ["Er", "Vd0r", "caidaXr", "caidaRr", "cos_alpha", "mur", "Ei", "Vd0i",
                       "caidaXi", "caidaRi", "cos_gamma", "mui"]
    for nombre, valor in d.items():
        assert valor == float(esperado[nombre]), nombre
        assert nombre in zelk.TITULOS
    # The DC voltage of each end from its pieces.
    r = zelk.calcular(**datos)
    assert math.isclose(d["Vd0r"] * d["cos_alpha"] - d["caidaXr"] - d["caidaRr"], r["Vdcr"])
    assert math.isclose(d["Vd0i"] * d["cos_gamma"] - d["caidaXi"] + d["caidaRi"], 525)
    assert zelk.detalle(Vdci=700)["mur"] is None


OBJETIVOS = [
    ("potencia", "Pr", 500, "Idc", {"Vdci": 480}, 1),
    ("disparo_cero", "alpha", 0, "Vdci", {}, 1),
    ("dos_soluciones", "Qr", 300, "Vdci", {}, 2),
    ("tap", "gamma", 18, "tapi", {"Idc": 1500}, 1),
    ("control", "Pr", 700, "consigna", {"orden": "potencia"}, 1),
    ("consigna_sola", "Pr", 700, "consigna", {}, 1),
]


@pytest.mark.parametrize("nombre, resultado, valor, dato, datos, cuantas", OBJETIVOS,
                         ids=[o[0] for o in OBJETIVOS])
def test_buscar_como_zelk_calc(zelk_calc, nombre, resultado, valor, dato, datos, cuantas):
    soluciones = zelk.buscar(resultado, valor, dato, **datos)
    assert len(soluciones) == cuantas
    p = zelk_calc("--raw", "--target", f"{resultado}={valor}", "--vary", dato,
                  *(f"{k}={v}" for k, v in datos.items()))
    bloques = p.stdout.split("\n\n")
    assert len(bloques) == cuantas
    for s, bloque in zip(soluciones, bloques):
        esperado = lineas(bloque)
        assert s[dato] == float(esperado[dato])
        assert s[resultado] == pytest.approx(valor, abs=0.005)
        # Typed back, the value gives the result again.
        if dato in zelk.CONTROL or any(k in zelk.CONTROL for k in datos):
            de_nuevo = zelk.resolver_control(**datos, **{dato: s[dato]})
        else:
            de_nuevo = zelk.calcular(**datos, **{dato: s[dato]})
        assert bits(de_nuevo[resultado]) == bits(s[resultado])
    assert [s[dato] for s in soluciones] == sorted(s[dato] for s in soluciones)


def test_sin_solucion_y_errores():
    with pytest.raises(zelk.SinSolucion) as e:
        zelk.buscar("Pr", 5000, "Idc", margen=(0, 1000))
    assert str(e.value) == "ningún Idc entre 0 y 1000 da Pr = 5000.0; Pr va de 0.0 a 537.0 en ese margen"
    assert (e.value.minimo, e.value.maximo) == (0.0, 537.0)
    assert isinstance(e.value, ValueError)
    with pytest.raises(zelk.SinSolucion) as e:
        zelk.buscar("alpha", 10, "Idc", Vdci=900)
    assert e.value.minimo is None
    with pytest.raises(ValueError, match="«Idc» no es un resultado"):
        zelk.buscar("Idc", 5, "Rdc")
    with pytest.raises(ValueError, match="no hay ningún dato «idc»"):
        zelk.buscar("Pr", 5, "idc")
    with pytest.raises(TypeError, match="es el dato que se busca"):
        zelk.buscar("Pr", 500, "Idc", Idc=3)
    with pytest.raises(zelk.DatosRechazados):
        zelk.buscar("Pr", 500, "Idc", Nr=0)


def test_buscar_lote_fila_a_fila():
    vdci = np.array([480.0, 900.0, 520.0, np.nan])
    r = zelk.buscar_lote("alpha", 20, "Idc", Vdci=vdci, motivos=True, hilos=2)
    assert list(r) == ["Idc", *zelk.RESULTADOS, "soluciones", "motivos", "aceptado"]
    assert list(r["aceptado"]) == [True, True, True, False]
    assert list(r["soluciones"]) == [1, 0, 1, 0]
    for i in (0, 2):
        uno = zelk.buscar("alpha", 20, "Idc", Vdci=vdci[i])[0]
        assert bits(r["Idc"][i]) == bits(uno["Idc"]) and bits(r["alpha"][i]) == bits(uno["alpha"])
    assert math.isnan(r["Idc"][1])
    assert r["motivos"][1] == ("alpha no se puede formar con ningún Idc entre 0 y 8000",)
    assert r["motivos"][3] == ("Vdci = nan no es un número finito",)

    tabla = pd.DataFrame({"caso": ["A", "B"], "Vdci": [480.0, 900.0]}, index=[10, 20])
    salida = zelk.buscar_lote("alpha", 20, "Idc", tabla)
    assert list(salida.index) == [10, 20]
    assert list(salida.columns[:3]) == ["caso", "Vdci", "Idc"]

    with pytest.raises(ValueError, match="«Vdci» es el dato que se busca en cada fila"):
        zelk.buscar_lote("alpha", 20, "Vdci", tabla)

    control = zelk.buscar_lote("Pr", 700, "consigna", orden=["potencia", "potencia"],
                               tapr_min=[0.8, 1.15])
    assert list(control)[:5] == ["consigna", "tapr", "tapi", "Idc", "Vdci"]
    assert control["Pr"][0] == pytest.approx(700, abs=0.05)


def test_tap_imposible_ofrece_la_posicion_que_forma_el_angulo(zelk_calc):
    p = zelk_calc("--tap-for", "alpha=0", "--tap-step", "0.1", "--tap-range", "1:1.2")
    with pytest.raises(zelk.TapImposible) as e:
        zelk.tap_para("alpha", 0, paso=0.1, margen=(1, 1.2))
    assert "zelk-calc: " + str(e.value) == p.stderr.strip()
    assert str(e.value).endswith("la posición más cercana que lo forma es tapr = 1 (alpha = 18.40)")
