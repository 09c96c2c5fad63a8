# The type stubs name what the module has, so that an editor completes the right names.
import ast
import pathlib

import zelk
from zelk import _zelk

STUB = pathlib.Path(zelk.__file__).with_name("__init__.pyi")


def definiciones():
    arbol = ast.parse(STUB.read_text(encoding="utf-8"))
    definidas = {}
    for nodo in arbol.body:
        if isinstance(nodo, (ast.FunctionDef, ast.ClassDef)):
            definidas[nodo.name] = nodo
        elif isinstance(nodo, ast.AnnAssign):
            definidas[nodo.target.id] = nodo
    return definidas


def campos(clase):
    return [n.target.id for n in clase.body if isinstance(n, ast.AnnAssign)]


def test_todo_lo_publico_tiene_tipo():
    publicos = {n for n in dir(_zelk) if not n.startswith("_")}
    assert publicos == set(zelk.__all__)
    assert set(zelk.__all__) | {"__version__"} <= set(definiciones())


def test_argumentos_de_las_funciones():
    d = definiciones()

    def nombres(funcion):
        a = d[funcion].args
        return [x.arg for x in a.posonlyargs + a.args], [x.arg for x in a.kwonlyargs]

    assert nombres("calcular") == ([], list(zelk.PARAMETROS))
    assert nombres("pasada") == (["textos", "locale"], [])
    assert nombres("calcular_lote") == (["datos"], ["hilos", *zelk.PARAMETROS])
    assert nombres("tap_para") == (["angulo", "grados"], ["paso", "margen", *zelk.PARAMETROS])
    # The signature each docstring opens with names the same arguments.
    for funcion in ("calcular", "pasada", "calcular_lote", "tap_para"):
        firma = getattr(zelk, funcion).__doc__.splitlines()[0]
        assert firma.startswith(funcion + "(")
        for argumento in sum(nombres(funcion), []):
            if argumento not in zelk.PARAMETROS:
                assert argumento in firma, (funcion, argumento)


def test_diccionarios():
    d = definiciones()
    assert campos(d["Resultados"]) == list(zelk.RESULTADOS)
    assert campos(d["TextosResultados"]) == list(zelk.RESULTADOS)
    assert campos(d["TextosDatos"]) == list(zelk.PARAMETROS)
    assert campos(d["ResultadosLote"]) == [*zelk.RESULTADOS, "aceptado"]
    assert set(zelk.tap_para()) <= set(campos(d["ResultadosTap"])) | set(zelk.RESULTADOS)
    assert set(zelk.tap_para("gamma", 18)) <= set(campos(d["ResultadosTap"])) | set(
        zelk.RESULTADOS)


def test_excepciones():
    for clase in (zelk.DatosRechazados, zelk.TapImposible):
        assert issubclass(clase, ValueError)
        assert clase.__module__ == "zelk"
        assert clase.__doc__
