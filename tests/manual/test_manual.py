# The manual as the build made it (ZELK_MANUAL_HTML): every option of zelk-calc's help and every
# public name of the Python module documented in it, every link inside it leading somewhere, and
# nothing it needs from a network.
import html.parser
import os
import pathlib
import posixpath
import re
import subprocess
import urllib.parse

import pytest
from sphinx.util.inventory import InventoryFile

import zelk

HTML = pathlib.Path(os.environ.get("ZELK_MANUAL_HTML", "build/doc/html"))


@pytest.fixture(scope="module")
def inventario():
    with open(HTML / "objects.inv", "rb") as f:
        return InventoryFile.load(f, "", posixpath.join)


def opciones_de_la_ayuda():
    ayuda = subprocess.run([os.environ["ZELK_CALC"], "--help"], capture_output=True, text=True,
                           env={"LC_ALL": "C.UTF-8"}, check=True, timeout=60).stdout
    # The options are the lines' first words, and those after ", " or "|" in them.
    return sorted(set(re.findall(r"(?m)(?:^  |, |\[)(--?[a-z][a-z-]*)", ayuda)))


def test_la_ayuda_da_opciones():
    assert {"--csv", "--sweep", "-o", "--output", "--psse", "-h", "--help"} <= set(
        opciones_de_la_ayuda())


@pytest.mark.parametrize("opcion", opciones_de_la_ayuda())
def test_cada_opcion_de_zelk_calc_tiene_su_entrada(inventario, opcion):
    assert f"zelk-calc.{opcion}" in inventario["std:cmdoption"]


# Everything the module exports, and its version.
PUBLICOS = sorted(set(zelk.__all__) | {"__version__"})


@pytest.mark.parametrize("nombre", PUBLICOS)
def test_cada_nombre_publico_del_modulo_tiene_su_entrada(inventario, nombre):
    documentados = {n for tipo in ("py:function", "py:class", "py:exception", "py:data")
                    for n in inventario.get(tipo, {})}
    assert f"zelk.{nombre}" in documentados


def test_cada_dato_y_resultado_tiene_su_fila():
    textos = {p: (HTML / f"{p}.html").read_text(encoding="utf-8") for p in ("modelo", "control")}
    for nombre in (*zelk.PARAMETROS, *zelk.RESULTADOS):
        assert f'<span class="pre">{nombre}</span>' in textos["modelo"], nombre
    for nombre in zelk.CONTROL:
        assert f'<span class="pre">{nombre}</span>' in textos["control"], nombre


class Enlaces(html.parser.HTMLParser):
    """The ids of a page and what its tags load or lead to."""

    def __init__(self):
        super().__init__()
        self.ids, self.cargas, self.enlaces = set(), [], []

    def handle_starttag(self, etiqueta, atributos):
        a = dict(atributos)
        if "id" in a:
            self.ids.add(a["id"])
        if etiqueta in ("script", "img", "iframe", "source") and a.get("src"):
            self.cargas.append(a["src"])
        if etiqueta in ("a", "link") and a.get("href"):
            # A stylesheet or an icon is loaded; "next", "search"... are links.
            carga = etiqueta == "link" and {"stylesheet", "icon"} & set(a.get("rel", "").split())
            (self.cargas if carga else self.enlaces).append(a["href"])


PAGINAS = sorted(HTML.glob("*.html"))


def leer(pagina):
    lector = Enlaces()
    lector.feed(pagina.read_text(encoding="utf-8"))
    return lector


@pytest.mark.parametrize("pagina", PAGINAS, ids=[p.name for p in PAGINAS])
def test_sin_red_y_sin_enlaces_rotos(pagina):
    lector = leer(pagina)
    for carga in lector.cargas:
        assert not urllib.parse.urlsplit(carga).scheme, f"{pagina.name} carga {carga}"
        assert (pagina.parent / urllib.parse.urlsplit(carga).path).is_file(), carga
    for enlace in lector.enlaces:
        partes = urllib.parse.urlsplit(enlace)
        if partes.scheme:
            continue  # a link the reader follows, never loaded by the page
        destino = pagina if not partes.path else pagina.parent / partes.path
        assert destino.is_file(), f"{pagina.name} enlaza {enlace}"
        if partes.fragment and destino.suffix == ".html":
            assert urllib.parse.unquote(partes.fragment) in leer(destino).ids, (
                f"{pagina.name} enlaza {enlace}")


def test_sin_tipos_de_letra_propios():
    propios = [p.name for p in HTML.rglob("*")
               if p.suffix.lower() in (".woff", ".woff2", ".ttf", ".otf", ".eot")]
    assert not propios
