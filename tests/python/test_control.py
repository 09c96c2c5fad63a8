# Control modes in the module: one link, arrays and RAW cases, against zelk-calc to the last bit.
import ast
import csv
import io
import json
import math
import random
import warnings

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import RAIZ, bits

CASOS = RAIZ / "tests" / "psse"
ELEGIDOS = ["tapr", "tapi", "Idc", "Vdci"]
DATOS = [p for p in zelk.PARAMETROS if p not in ("Idc", "Vdci")]

KUNDUR = dict(Uacr=0.9595 * 230, Uacr_nom=230, Eacr_nom=230 * 0.92630, tapr=0.9375, Xcr=13.5939,
              Uaci=0.9647 * 230, Uaci_nom=230, Eaci_nom=230 * 0.90970, tapi=0.94375,
              Xci=13.3174, Rdc=5, Vdcnom=500, consigna=500, Vprog=500, margen=0, alpha_min=15,
              alpha_max=90, gamma_min=15, gamma_max=90)


def test_kundur_como_lo_imprime_el_programa_comercial():
    s = zelk.resolver_control(**KUNDUR)
    assert s["modo"] == "corriente en el rectificador"
    assert (s["tapr"], s["tapi"], s["avisos"]) == (0.9375, 0.94375, [])
    impresos = {"Idc": (990.2, 1), "alpha": (25.70, 2), "gamma": (24.61, 2), "Pr": (500.0, 1),
                "Qr": (298.8, 1), "Pi": (-495.1, 1), "Qi": (285.0, 1)}
    for nombre, (valor, decimales) in impresos.items():
        assert round(s[nombre], decimales) == valor, nombre


@pytest.mark.parametrize("version", [33, 34, 35])
def test_leer_psse_como_zelk_calc(zelk_calc, version):
    archivo = CASOS / f"kundur_v{version}.raw"
    with pytest.warns(UserWarning, match="se omite «VSC1»"):
        tabla = zelk.leer_psse(archivo)
    assert isinstance(tabla, pd.DataFrame)
    assert list(tabla["linea"]) == ["DC1"]
    p = zelk_calc("--psse", str(archivo), "--format", "json", "--raw")
    assert p.returncode == 0, p.stderr
    fila = json.loads(p.stdout)[0]
    for nombre in ["modo", "avisos"]:
        assert tabla[nombre][0] == fila[nombre]
    for nombre in ELEGIDOS + list(zelk.RESULTADOS):
        assert bits(tabla[nombre][0]) == bits(fila[nombre]), nombre
    # The line's data, solved again, give the same point.
    datos = {n: tabla[n][0] for n in DATOS if n not in ("tapr", "tapi")}
    datos.update(tapr=tabla["tapr_inicial"][0], tapi=tabla["tapi_inicial"][0])
    datos.update({n: tabla[n][0] for n in zelk.CONTROL})
    s = zelk.resolver_control(**datos)
    assert bits(s["alpha"]) == bits(fila["alpha"])


def test_leer_psse_linea_rechazada_y_caso_roto(tmp_path):
    texto = (CASOS / "kundur_v33.raw").read_text(encoding="utf-8")
    malo = tmp_path / "malo.raw"
    malo.write_text(texto.replace("0.94375, 1.20000, 0.80000, 0.00625",
                                  "0.94375, 1.20000, 0.80000, 0", 1), encoding="utf-8")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        tabla = zelk.leer_psse(malo)
    assert tabla["modo"][0] is None
    assert math.isnan(tabla["alpha"][0])
    assert tabla["avisos"][0] == ["STPI = 0: ha de ser mayor que 0"]
    roto = tmp_path / "roto.raw"
    roto.write_text("0, 100.00, 32\nT\nT\n", encoding="utf-8")
    with pytest.raises(ValueError, match="línea 1: versión 32 del formato RAW"):
        zelk.leer_psse(roto)


def filas_de_control(cuantas, semilla):
    """Links around the start-up values under orders of every kind, some with limits hit."""
    g = random.Random(semilla)
    filas = []
    for _ in range(cuantas):
        fila = {"Uacr": g.uniform(300, 720), "Uaci": g.uniform(300, 720),
                "Rdc": g.uniform(0, 30), "tapr": g.choice([0.9, 1.0, 1.003, 1.25]),
                "orden": g.choice(["potencia", "potencia", "corriente", "bloqueado"]),
                "consigna": g.uniform(-1500, 1500), "margen": g.uniform(0, 0.2),
                "Rcomp": g.choice([0.0, 5.0]), "Vcmod": g.choice([0.0, 450.0])}
        if fila["orden"] == "corriente":
            fila["consigna"] = abs(fila["consigna"]) * 2
        filas.append(fila)
    return filas


def test_lote_como_uno_y_como_zelk_calc(zelk_calc):
    filas = filas_de_control(400, 20251208)
    columnas = list(filas[0])
    r = zelk.resolver_control_lote(pd.DataFrame(filas))
    assert r["aceptado"].all()
    entrada = io.StringIO()
    escritor = csv.writer(entrada)
    escritor.writerow(columnas)
    for f in filas:
        escritor.writerow([repr(f[c]) if isinstance(f[c], float) else f[c] for c in columnas])
    p = zelk_calc("--csv", "-", "--raw", "--format", "json", entrada=entrada.getvalue())
    assert p.returncode == 0, p.stderr
    tabla = json.loads(p.stdout)
    for i, f in enumerate(filas[:50]):
        uno = zelk.resolver_control(**f)
        assert r["modo"][i] == uno["modo"] == tabla[i]["modo"]
        assert r["avisos"][i] == uno["avisos"] == tabla[i]["avisos"]
    for i, fila in enumerate(tabla):
        for nombre in ELEGIDOS + list(zelk.RESULTADOS):
            valor = fila[nombre]
            esperado = math.nan if valor in (None, "ERROR") else valor
            assert bits(r[nombre][i]) == bits(float(esperado)), (i, nombre)


def test_rechazos():
    with pytest.raises(zelk.DatosRechazados, match="«tapr_paso» ha de ser mayor que 0"):
        zelk.resolver_control(tapr_paso=0)
    with pytest.raises(zelk.DatosRechazados, match="«gamma_min» no puede ser mayor que"):
        zelk.resolver_control(gamma_min=30, gamma_max=20)
    with pytest.raises(zelk.DatosRechazados):
        zelk.resolver_control(Nr=0)
    with pytest.raises(ValueError, match="Idc no se da"):
        zelk.resolver_control(Idc=1000)
    with pytest.raises(TypeError, match="no hay ningún dato «Vsched»"):
        zelk.resolver_control(Vsched=500)
    with pytest.raises(ValueError, match="no «Potencia»"):
        zelk.resolver_control(orden="Potencia")
    r = zelk.resolver_control_lote(margen=[0.1, 1.5, np.nan], Uacr=500)
    assert list(r["aceptado"]) == [True, False, False]
    assert r["modo"][1] is None and math.isnan(r["Idc"][1]) and r["avisos"][1] == []
    with pytest.raises(ValueError, match="misma longitud"):
        zelk.resolver_control_lote(margen=[0.1, 0.2], consigna=[1, 2, 3])


def test_tipos():
    arbol = ast.parse((RAIZ / "python" / "zelk" / "__init__.pyi").read_text(encoding="utf-8"))
    funciones = {n.name: n for n in arbol.body if isinstance(n, ast.FunctionDef)}
    clases = {n.name: n for n in arbol.body if isinstance(n, ast.ClassDef)}

    def argumentos(nombre):
        a = funciones[nombre].args
        return [x.arg for x in a.posonlyargs + a.args], [x.arg for x in a.kwonlyargs]

    assert argumentos("resolver_control") == ([], DATOS + list(zelk.CONTROL))
    assert argumentos("resolver_control_lote") == (["datos"], DATOS + list(zelk.CONTROL))
    assert argumentos("leer_psse") == (["archivo"], [])
    s = zelk.resolver_control()
    assert [n.target.id for n in clases["SolucionControl"].body] == list(s)
    r = zelk.resolver_control_lote()
    assert [n.target.id for n in clases["SolucionControlLote"].body] == list(r)
    for nombre in zelk.CONTROL:
        assert nombre in zelk.TITULOS
