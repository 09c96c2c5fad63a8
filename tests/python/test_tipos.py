# The module as editors and type checkers see it: the stubs match the module (stubtest), every
# name they use is there at run time, the README's and the manual's examples and a DataFrame
# argument type-check under mypy --strict and pyright, and the functions show their real
# signatures.
import ast
import inspect
import os
import pathlib
import pydoc
import shutil
import subprocess
import sys

import pytest

import zelk
from conftest import codigo_del_manual, codigo_del_readme, entorno_de_python
from zelk import _zelk

STUB = pathlib.Path(zelk.__file__).with_name("__init__.pyi")
# Each function, and the data its signature ends with, keyword-only, with their defaults.
DATOS_CONTROL = [p for p in zelk.PARAMETROS if p not in ("Idc", "Vdci")]
INICIO = {**zelk.VALORES_INICIO, **zelk.CONTROL}
FUNCIONES = {"calcular": list(zelk.PARAMETROS), "pasada": [],
             "calcular_lote": list(zelk.PARAMETROS), "tap_para": list(zelk.PARAMETROS),
             "resolver_control": DATOS_CONTROL + list(zelk.CONTROL),
             "resolver_control_lote": DATOS_CONTROL + list(zelk.CONTROL), "leer_psse": [],
             "detalle": list(zelk.PARAMETROS), "buscar": [], "buscar_lote": []}

# Checked with a DataFrame and Series in; the second file must fail, on one line only, to show
# that the checker read zelk's types rather than taking everything.
CON_DATAFRAME = """
import numpy as np
import pandas as pd
import zelk

tabla = pd.DataFrame({"caso": ["A", "B"], "Idc": [1000.0, 2000.0]})
salida: pd.DataFrame = zelk.calcular_lote(tabla, hilos=np.int64(2))
por_serie: pd.DataFrame = zelk.calcular_lote(Idc=tabla["Idc"], Rdc=10)
arreglos: zelk.ResultadosLote = zelk.calcular_lote(Idc=np.array([1000.0]), Rdc=10)
punto: zelk.Resultados = zelk.calcular(Idc=1000)
alpha: float | None = punto["alpha"]
orden: zelk.Orden = "corriente"
enlace: zelk.SolucionControl = zelk.resolver_control(orden=orden, consigna=2000, margen=0.1)
avisos: tuple[str, ...] = enlace["avisos"]
controlada: pd.DataFrame = zelk.resolver_control_lote(tabla.rename(columns={"Idc": "consigna"}),
                                                       copiar=False)
enlaces: zelk.SolucionControlLote = zelk.resolver_control_lote(
    orden=["potencia", None], consigna=np.array([500.0, 900.0]), hilos=1)
caso: pd.DataFrame = zelk.leer_psse("caso.raw")
explicado: zelk.ResultadosConMotivos = zelk.calcular(Vdci=700, motivos=True)
motivos: tuple[str, ...] = explicado["motivos"]
extremos: zelk.Detalle = zelk.detalle(Idc=1000)
soluciones: list[dict[str, object]] = zelk.buscar("Pr", 500, "Idc", Vdci=480)
por_fila: pd.DataFrame = zelk.buscar_lote("alpha", 20, "Idc", tabla)
"""
ERRONEO = """
import zelk
alpha: str = zelk.calcular(Idc=1000)["alpha"]
"""

# mypy 1.0.1 (Debian 12) takes the metaclass of a TypedDict at run time for a difference from the
# stub (python/mypy#14983, mended in mypy 1.3): the one thing it is allowed to say.
PERMITIDOS = ["zelk.Resultados", "zelk.ResultadosLote", "zelk.ResultadosTap",
              "zelk.SolucionControl", "zelk.SolucionControlLote", "zelk.TextosDatos",
              "zelk.TextosResultados", "zelk.ResultadosConMotivos",
              "zelk.SolucionControlConMotivos", "zelk.Detalle"]


def definiciones():
    definidas = {}
    for nodo in ast.parse(STUB.read_text(encoding="utf-8")).body:
        if isinstance(nodo, (ast.FunctionDef, ast.ClassDef)):
            definidas.setdefault(nodo.name, nodo)
        elif isinstance(nodo, ast.AnnAssign):
            definidas[nodo.target.id] = nodo
        elif isinstance(nodo, ast.Assign):
            definidas[nodo.targets[0].id] = nodo
    return definidas


def campos(clase):
    return [n.target.id for n in clase.body if isinstance(n, ast.AnnAssign)]


def test_lo_publico_y_lo_que_nombran_los_stubs_existe():
    d = definiciones()
    assert {n for n in dir(_zelk) if not n.startswith("_")} <= set(zelk.__all__)
    assert set(zelk.__all__) | {"__version__"} <= set(d)
    # A name the stubs define and use in an annotation can be written in one that runs.
    usados = {n.id for nodo in d.values() for n in ast.walk(nodo) if isinstance(n, ast.Name)}
    for nombre in usados & set(d):
        if not nombre.startswith("_"):
            assert hasattr(zelk, nombre), nombre


def test_diccionarios():
    d = definiciones()
    assert campos(d["Resultados"]) == list(zelk.RESULTADOS)
    assert campos(d["TextosResultados"]) == list(zelk.RESULTADOS)
    assert campos(d["TextosDatos"]) == list(zelk.PARAMETROS)
    assert campos(d["ResultadosLote"]) == [*zelk.RESULTADOS, "aceptado"]
    assert list(zelk.ResultadosLote.__annotations__) == campos(d["ResultadosLote"])
    assert set(zelk.tap_para()) <= set(campos(d["ResultadosTap"])) | set(zelk.RESULTADOS)
    assert set(zelk.tap_para("gamma", 18)) <= set(campos(d["ResultadosTap"])) | set(
        zelk.RESULTADOS)
    assert campos(d["SolucionControl"]) == list(zelk.resolver_control())
    assert campos(d["SolucionControlLote"]) == list(zelk.resolver_control_lote())
    for clase in ("SolucionControl", "SolucionControlLote"):
        assert list(getattr(zelk, clase).__annotations__) == campos(d[clase])


@pytest.mark.parametrize("funcion", FUNCIONES)
def test_firma_real_la_de_los_stubs_y_la_de_help(funcion):
    datos = FUNCIONES[funcion]
    f = getattr(zelk, funcion)
    firma = inspect.signature(f)
    # Every overload of the stubs takes the same arguments as the module.
    for nodo in ast.parse(STUB.read_text(encoding="utf-8")).body:
        if isinstance(nodo, ast.FunctionDef) and nodo.name == funcion:
            a = nodo.args
            posicionales = [x.arg.lstrip("_") for x in a.posonlyargs + a.args]
            resto = [a.kwarg.arg] if a.kwarg else []
            assert posicionales + [x.arg for x in a.kwonlyargs] + resto == list(firma.parameters)
            clases = [p.kind for p in firma.parameters.values()]
            assert clases.count(inspect.Parameter.KEYWORD_ONLY) == len(a.kwonlyargs)
    if datos:
        assert list(firma.parameters)[-len(datos):] == datos
        assert all(firma.parameters[p].default == INICIO[p] for p in datos)
        assert all(firma.parameters[p].kind == inspect.Parameter.KEYWORD_ONLY for p in datos)
    texto = pydoc.render_doc(f, renderer=pydoc.plaintext)
    assert texto.splitlines()[0].endswith(f"function {funcion} in module zelk")
    assert f"{funcion}{firma}\n" in texto
    ayuda = pydoc.render_doc(zelk, renderer=pydoc.plaintext)
    assert f"\n    {funcion}{firma}\n" in "\n" + ayuda.partition("\nFUNCTIONS\n")[2]


def test_excepciones():
    for clase in (zelk.DatosRechazados, zelk.TapImposible):
        assert issubclass(clase, ValueError)
        assert clase.__module__ == "zelk"
        assert clase.__doc__
    assert zelk.DatosRechazados("x").parametro is None and zelk.DatosRechazados("x").valor is None


def ejecutar(*orden, entorno=None):
    return subprocess.run(orden, capture_output=True, text=True, check=False, timeout=600,
                          env=entorno or entorno_de_python())


def test_stubtest(tmp_path):
    permitidos = tmp_path / "permitidos.txt"
    permitidos.write_text("\n".join(PERMITIDOS) + "\n", encoding="utf-8")
    p = ejecutar(sys.executable, "-m", "mypy.stubtest", "zelk", "--allowlist", str(permitidos))
    assert p.returncode == 0, p.stdout + p.stderr
    assert "Success" in p.stdout and "unused allowlist" not in p.stdout, p.stdout


def test_mypy_estricto(tmp_path):
    (tmp_path / "readme.py").write_text(codigo_del_readme(), encoding="utf-8")
    (tmp_path / "manual.py").write_text(codigo_del_manual(), encoding="utf-8")
    (tmp_path / "tabla.py").write_text(CON_DATAFRAME, encoding="utf-8")
    (tmp_path / "erroneo.py").write_text(ERRONEO, encoding="utf-8")
    # pandas 1.5 and matplotlib carry no types of their own: they are taken as they come.
    (tmp_path / "mypy.ini").write_text(
        "[mypy]\nstrict = True\n[mypy-pandas.*]\nignore_missing_imports = True\n"
        "[mypy-matplotlib.*]\nignore_missing_imports = True\n", encoding="utf-8")
    mypy = [sys.executable, "-m", "mypy", "--config-file", str(tmp_path / "mypy.ini"),
            "--cache-dir", str(tmp_path / "cache")]
    p = ejecutar(*mypy, str(tmp_path / "readme.py"), str(tmp_path / "manual.py"),
                 str(tmp_path / "tabla.py"))
    assert p.returncode == 0, p.stdout + p.stderr
    p = ejecutar(*mypy, str(tmp_path / "erroneo.py"))
    assert "erroneo.py:3: error: Incompatible types" in p.stdout and "Found 1 error" in p.stdout


def test_pyright(tmp_path):
    pyright = shutil.which("pyright")
    if pyright is None:
        pytest.skip("pyright no está (scripts/dependencias.sh lo instala con npm)")
    # matplotlib need not be installed; zelk must be, as the other two files show.
    for nombre, codigo in (("readme.py", codigo_del_readme()), ("manual.py", codigo_del_manual())):
        (tmp_path / nombre).write_text("# pyright: reportMissingImports=false\n" + codigo,
                                       encoding="utf-8")
    (tmp_path / "tabla.py").write_text(CON_DATAFRAME, encoding="utf-8")
    (tmp_path / "erroneo.py").write_text(ERRONEO, encoding="utf-8")
    # Node runs without the sanitizer's runtime; the interpreter tells pyright where zelk is.
    entorno = {k: v for k, v in entorno_de_python().items() if k != "LD_PRELOAD"}
    orden = [pyright, "--pythonpath", sys.executable]
    p = ejecutar(*orden, str(tmp_path / "readme.py"), str(tmp_path / "manual.py"),
                 str(tmp_path / "tabla.py"), entorno=entorno)
    assert p.returncode == 0, p.stdout + p.stderr
    p = ejecutar(*orden, str(tmp_path / "erroneo.py"), entorno=entorno)
    assert "erroneo.py:3" in p.stdout and "1 error" in p.stdout, p.stdout
