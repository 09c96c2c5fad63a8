# Control modes in the module: one link, arrays, DataFrames and RAW cases, against zelk-calc to the
# last bit, with the batch's conventions of calcular_lote.
import csv
import io
import json
import math
import random
import subprocess
import sys
import warnings

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import RAIZ, bits

CASOS = RAIZ / "tests" / "psse"
ELEGIDOS = ["tapr", "tapi", "Idc", "Vdci"]
# The columns a solution adds, as zelk-calc's tables have them.
SOLUCION = ["modo", *ELEGIDOS, *zelk.RESULTADOS, "avisos"]
DATOS = [p for p in zelk.PARAMETROS if p not in ("Idc", "Vdci")]

KUNDUR = dict(Uacr=0.9595 * 230, Uacr_nom=230, Eacr_nom=230 * 0.92630, tapr=0.9375, Xcr=13.5939,
              Uaci=0.9647 * 230, Uaci_nom=230, Eaci_nom=230 * 0.90970, tapi=0.94375,
              Xci=13.3174, Rdc=5, Vdcnom=500, consigna=500, Vprog=500, margen=0, alpha_min=15,
              alpha_max=90, gamma_min=15, gamma_max=90)


def test_kundur_como_lo_imprime_el_programa_comercial():
    s = zelk.resolver_control(**KUNDUR)
    assert s["modo"] == "corriente en el rectificador"
    assert (s["tapr"], s["tapi"], s["avisos"]) == (0.9375, 0.94375, ())
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
    assert tabla["modo"][0] == fila["modo"] and list(tabla["avisos"][0]) == fila["avisos"]
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
    with pytest.warns(UserWarning, match="malo.raw», línea 52: «DC1» no se resuelve: STPI = 0"):
        tabla = zelk.leer_psse(malo)
    assert tabla["modo"][0] is None
    assert math.isnan(tabla["alpha"][0]) and tabla["alpha"].dtype == np.float64
    assert tabla["avisos"][0] == ("línea 52: STPI = 0: ha de ser mayor que 0",)
    roto = tmp_path / "roto.raw"
    roto.write_text("0, 100.00, 32\nT\nT\n", encoding="utf-8")
    with pytest.raises(ValueError, match="línea 1: versión 32 del formato RAW"):
        zelk.leer_psse(roto)
    # A path of any kind; a file that cannot be opened as Python says it.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        assert zelk.leer_psse(bytes(malo)).equals(zelk.leer_psse(str(malo)))
    with pytest.raises(FileNotFoundError):
        zelk.leer_psse(tmp_path / "no_existe.raw")
    with pytest.raises(IsADirectoryError):
        zelk.leer_psse(tmp_path)


def test_leer_psse_bloqueada_y_notas(tmp_path):
    texto = (CASOS / "kundur_v35.raw").read_text(encoding="utf-8")
    caso = tmp_path / "caso.raw"
    caso.write_text(texto.replace("'DC1         ',1,", "'DC1         ',0,").replace(
        "0.00625,     0,     0,     0,     0,", "0.00625,     0,     0,     5,     6,", 1),
        encoding="utf-8")
    with pytest.warns(UserWarning, match="línea 59: «DC1»: IFR = 5, ITR = 6, IDR = «1»"):
        tabla = zelk.leer_psse(caso)
    # A blocked line has no angles; what the equations cannot give stays NaN as well.
    assert tabla["modo"][0] == "bloqueado" and tabla["Idc"][0] == 0
    assert all(math.isnan(tabla[n][0]) for n in ("alpha", "mur", "gamma", "mui"))


def test_leer_psse_memoria_acotada(tmp_path):
    """A line of 32 MB of empty fields is refused holding a line's worth, not gigabytes."""
    caso = tmp_path / "campos.raw"
    with open(caso, "wb") as f:
        f.write(b"0, 100.00, 33\nT\nT\n7" + b"," * (32 << 20) + b"\n")
    programa = (
        "import resource, sys, zelk\n"
        "antes = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss\n"
        "try:\n"
        "    zelk.leer_psse(sys.argv[1])\n"
        "except ValueError as e:\n"
        "    print(e)\n"
        "print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - antes)\n")
    p = subprocess.run([sys.executable, "-c", programa, str(caso)], capture_output=True,
                       text=True, check=True)
    motivo, crecimiento = p.stdout.splitlines()
    assert motivo.endswith("campos.raw», línea 4: la línea tiene más de 1 MB: no es un "
                           "registro RAW")
    assert int(crecimiento) < 16 << 10  # KiB


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


def csv_de(filas):
    entrada = io.StringIO()
    escritor = csv.writer(entrada)
    columnas = list(filas[0])
    escritor.writerow(columnas)
    for f in filas:
        escritor.writerow([repr(f[c]) if isinstance(f[c], float) else f[c] for c in columnas])
    return entrada.getvalue()


def test_lote_como_uno_y_como_zelk_calc(zelk_calc):
    filas = filas_de_control(400, 20251208)
    tabla = pd.DataFrame(filas, index=pd.RangeIndex(400, 0, -1))
    r = zelk.resolver_control_lote(tabla)
    assert r["aceptado"].all() and r.index.equals(tabla.index)
    p = zelk_calc("--csv", "-", "--raw", "--format", "json", entrada=csv_de(filas))
    assert p.returncode == 0, p.stderr
    salida = json.loads(p.stdout)
    # zelk-calc's columns and order, "aceptado" in place of its "estado".
    assert list(r.columns) == [*list(salida[0])[:-1], "aceptado"]
    for i, f in enumerate(filas[:50]):
        uno = zelk.resolver_control(**f)
        assert r["modo"].iloc[i] == uno["modo"] == salida[i]["modo"]
        assert r["avisos"].iloc[i] == uno["avisos"] == tuple(salida[i]["avisos"])
    for i, fila in enumerate(salida):
        for nombre in ELEGIDOS + list(zelk.RESULTADOS):
            valor = fila[nombre]
            esperado = math.nan if valor in (None, "ERROR") else valor
            assert bits(r[nombre].iloc[i]) == bits(float(esperado)), (i, nombre)
    # Arrays give the same as a dict; threads change nothing.
    arreglos = zelk.resolver_control_lote({c: tabla[c].to_numpy() for c in tabla})
    for nombre, columna in arreglos.items():
        if columna.dtype == object:
            assert list(columna) == list(r[nombre]), nombre
        else:
            assert columna.tobytes() == r[nombre].to_numpy().tobytes(), nombre
    grande = pd.concat([tabla] * 100, ignore_index=True)
    uno, dos = (zelk.resolver_control_lote(grande, hilos=h) for h in (1, 2))
    pd.testing.assert_frame_equal(uno, dos, check_exact=True)


def test_tabla_con_indice_y_columnas_propias():
    indice = pd.Index(["b", "a", "c"], name="enlace")
    tabla = pd.DataFrame({"nota": ["x", None, "z"], "tapr": [1.0, 0.95, 1.1],
                          "orden": pd.Categorical(["potencia", "corriente", "potencia"]),
                          "consigna": [1000.0, 2000.0, 700.0]}, index=indice)
    salida = zelk.resolver_control_lote(tabla, margen=0.15)
    assert salida.index.equals(indice) and salida.index.name == "enlace"
    assert list(salida.columns) == ["nota", "tapr_inicial", "orden", "consigna",
                                    *SOLUCION, "aceptado"]
    dadas = salida[["nota", "tapr_inicial", "orden", "consigna"]]
    pd.testing.assert_frame_equal(dadas, tabla.rename(columns={"tapr": "tapr_inicial"}))
    for caso, f in tabla.iterrows():
        uno = zelk.resolver_control(tapr=f["tapr"], orden=f["orden"], consigna=f["consigna"],
                                    margen=0.15)
        assert salida.loc[caso, "modo"] == uno["modo"]
        assert bits(salida.loc[caso, "Qi"]) == bits(uno["Qi"])


def test_orden_palabras_y_faltantes():
    r = zelk.resolver_control_lote(orden=["potencia", None, "corriente", np.nan, " bloqueado"],
                                   consigna=1000)
    assert r["aceptado"].tolist() == [True, False, True, False, True]
    assert r["modo"][1] is None and r["avisos"][1] == () and math.isnan(r["Idc"][3])
    assert r["modo"][4] == "bloqueado" and r["Idc"][4] == 0
    serie = pd.Series(["corriente", pd.NA], dtype="string", name="orden")
    assert zelk.resolver_control_lote(serie)["aceptado"].tolist() == [True, False]
    with pytest.raises(ValueError, match="no «Potencia»"):
        zelk.resolver_control_lote(orden=["potencia", "Potencia"])
    for numero in ([1, 2], np.array([0.0]), 1):
        with pytest.raises(TypeError, match="«orden» ha de ser"):
            zelk.resolver_control_lote(orden=numero)


@pytest.mark.parametrize("nombre", ["Margen", "margen [p.u.]", " margen", "consigna (MW)",
                                    "modo", "avisos", "Idc", "IDC", "tapr_inicial", "Pr",
                                    "aceptado"])
def test_columnas_mal_nombradas_como_en_zelk_calc(zelk_calc, nombre):
    with pytest.raises(ValueError) as e:
        zelk.resolver_control_lote(pd.DataFrame({nombre: [1.0], "margen": [0.1]}))
    motivo = str(e.value).removeprefix("resolver_control_lote: ")
    if nombre != "aceptado":
        p = zelk_calc("--csv", "-", entrada=f"{nombre},margen\n1,0.1\n")
        assert p.returncode == 2 and p.stderr.strip().endswith(motivo), (nombre, p.stderr)
    assert f"«{nombre}»" in motivo


def test_rechazos():
    for datos, motivo, parametro, valor in [
        (dict(tapr_paso=0), "tapr_paso = 0 ha de ser mayor que 0", "tapr_paso", 0),
        (dict(gamma_min=30, gamma_max=20), "gamma_min = 30 no puede ser mayor que gamma_max = 20",
         "gamma_min", 30),
        (dict(Nr=0), "Nr = 0 no puede valer 0", "Nr", 0),
    ]:
        with pytest.raises(zelk.DatosRechazados) as e:
            zelk.resolver_control(**datos)
        assert (str(e.value), e.value.parametro, e.value.valor) == (motivo, parametro, valor)
    for datos, error, motivo in [
        (dict(Idc=1000), TypeError, "Idc no se da"),
        (dict(Vsched=500), TypeError, "no hay ningún dato «Vsched»"),
        (dict(Margen=0.1), TypeError, "¿es «margen»?"),
        (dict(orden="Potencia"), ValueError, "no «Potencia»"),
        (dict(orden=None), TypeError, "«orden» ha de ser"),
        (dict(consigna="1.000"), TypeError, 'decimal=","'),
        (dict(consigna=None), TypeError, "«consigna» es None"),
    ]:
        with pytest.raises(error, match=motivo):
            zelk.resolver_control(**datos)
        with pytest.raises(error, match=motivo):
            zelk.resolver_control_lote(**datos)
    r = zelk.resolver_control_lote(margen=[0.1, 1.5, np.nan], Uacr=500)
    assert list(r["aceptado"]) == [True, False, False]
    assert r["modo"][1] is None and math.isnan(r["Idc"][1]) and r["avisos"][1] == ()
    with pytest.raises(ValueError, match="misma longitud"):
        zelk.resolver_control_lote(margen=[0.1, 0.2], consigna=[1, 2, 3])
    # Without the controls, a control datum is refused, not carried through or ignored.
    with pytest.raises(ValueError, match="«margen» es un dato de control"):
        zelk.calcular_lote(pd.DataFrame({"Idc": [1000.0], "margen": [0.1]}))
    with pytest.raises(TypeError, match="«margen» es un dato de control"):
        zelk.calcular(margen=0.1)
