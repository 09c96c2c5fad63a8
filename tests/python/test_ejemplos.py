# The Python examples of the manual and of the README, run as a reader would run them; taken from
# their own files so that they cannot drift apart from what is shown.
import contextlib
import io
import re
import sys
import types

import numpy as np
import pandas as pd

import zelk
from conftest import codigo_del_manual, codigo_del_readme


class Eje:
    """Just enough of a matplotlib Axes to record what the example draws."""

    def __init__(self, registro):
        self.registro = registro

    def plot(self, x, y, **opciones):
        self.registro.append(("plot", np.asarray(x), np.asarray(y), opciones.get("label")))

    def twinx(self):
        return Eje(self.registro)

    def set_xlabel(self, texto):
        self.registro.append(("xlabel", texto))

    def set_ylabel(self, texto):
        self.registro.append(("ylabel", texto))


def pyplot_de_imitacion(registro):
    class Figura:
        def savefig(self, nombre):
            registro.append(("savefig", nombre))

    pyplot = types.ModuleType("matplotlib.pyplot")
    pyplot.subplots = lambda: (Figura(), Eje(registro))
    paquete = types.ModuleType("matplotlib")
    paquete.pyplot = pyplot
    return paquete, pyplot


def test_ejemplo_del_manual(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    monkeypatch.setenv("MPLCONFIGDIR", str(tmp_path / "mpl"))
    registro = []
    try:
        import matplotlib
        matplotlib.use("Agg")
        real = True
    except ImportError:
        real = False
        paquete, pyplot = pyplot_de_imitacion(registro)
        monkeypatch.setitem(sys.modules, "matplotlib", paquete)
        monkeypatch.setitem(sys.modules, "matplotlib.pyplot", pyplot)

    salida = io.StringIO()
    espacio = {}
    with contextlib.redirect_stdout(salida):
        exec(compile(codigo_del_manual(), "barrido_y_casos.py", "exec"), espacio)  # noqa: S102, the manual's own code

    lineas = salida.getvalue().splitlines()
    assert lineas[0] == "537.0"
    assert lineas[1] == "686,13"
    tabla = espacio["tabla"]
    assert len(tabla) == 26 and tabla["aceptado"].all()
    assert tabla["Idc"].iloc[0] == 500 and tabla["Idc"].iloc[-1] == 3000
    assert tabla["Pr"].iloc[0] == zelk.calcular(Idc=500, Rdc=10)["Pr"]

    # The cases written back: their names, their notes, their numbers with a decimal comma.
    assert lineas[-1] == "537.0"
    texto = (tmp_path / "resultados.csv").read_text(encoding="utf-8")
    assert texto.splitlines()[0] == ";".join(["caso", "Idc", "Rdc", "nota", *zelk.RESULTADOS,
                                              "aceptado"])
    assert texto.splitlines()[3].startswith("larga;2000;15,5;;")
    vuelta = pd.read_csv(tmp_path / "resultados.csv", sep=";", decimal=",", index_col="caso")
    assert vuelta.index.tolist() == ["base", "noche", "larga"]
    assert vuelta.loc["noche", "nota"] == "carga baja" and vuelta["aceptado"].all()
    assert vuelta.loc["larga", "Pr"] == zelk.calcular(Idc=2000, Rdc=15.5)["Pr"]
    if real:
        assert (tmp_path / "barrido_idc.png").stat().st_size > 0
        return
    r = espacio["r"]
    curvas = {e[3]: e for e in registro if e[0] == "plot"}
    for nombre in ("alpha", "Qr"):
        _, x, y, _ = curvas[zelk.TITULOS[nombre]]
        assert x.tobytes() == espacio["idc"].tobytes()
        assert y.tobytes() == r[nombre].tobytes()
    assert ("savefig", "barrido_idc.png") in registro


def test_ejemplo_del_readme(tmp_path, monkeypatch):
    """Each line the README's example prints is the one its comment says."""
    monkeypatch.chdir(tmp_path)
    codigo = codigo_del_readme()
    esperado = re.findall(r"^print\(.*\)\s+# (.+)$", codigo, re.M)
    assert len(esperado) >= 2
    salida = io.StringIO()
    with contextlib.redirect_stdout(salida):
        exec(compile(codigo, "README.md", "exec"), {})  # noqa: S102, the README's own code
    assert salida.getvalue().splitlines() == esperado
