# The manual's own Sphinx directives: zelk-calc run from the build tree while the manual is built,
# its output put into the page (and checked against the one written there, when there is one),
# the files it reads, the pictures it draws, and the window's schematic with the names of the data.
import filecmp
import os
import pathlib
import re
import shlex
import shutil
import subprocess
import xml.etree.ElementTree as ET

from docutils import nodes
from docutils.parsers.rst import Directive, directives
from docutils.statemachine import ViewList
from sphinx.util.nodes import nested_parse_with_titles
from sphinx.util import logging

logger = logging.getLogger(__name__)

# The repository: commands name its files (tests/psse/kundur_v33.raw) as a user in a clone would.
RAIZ = pathlib.Path(__file__).resolve().parents[2]


class imagen_generada(nodes.General, nodes.Element):
    """A picture the build made: copied beside the page's images when the page is written."""


def _visitar_imagen_html(self, node):
    destino = pathlib.Path(self.builder.outdir, self.builder.imagedir, node["nombre"])
    destino.parent.mkdir(parents=True, exist_ok=True)
    if not destino.exists() or not filecmp.cmp(node["ruta"], destino, shallow=False):
        shutil.copyfile(node["ruta"], destino)
    ruta = "/".join((self.builder.imgpath, node["nombre"]))
    self.body.append(f'<figure class="align-center"><img src="{ruta}" alt="{self.encode(node["alt"])}"'
                     f' style="max-width: 100%"/>')
    if node["leyenda"]:
        self.body.append(f'<figcaption><p>{self.encode(node["leyenda"])}</p></figcaption>')
    self.body.append("</figure>\n")
    raise nodes.SkipNode


def _saltar(self, node):
    raise nodes.SkipNode


def _trabajo(env):
    """The folder where a page's commands run and its files are written, emptied when the page
    is read again."""
    carpeta = pathlib.Path(env.app.doctreedir, "zelk-trabajo", env.docname)
    if env.docname not in env.temp_data.setdefault("zelk_carpetas", set()):
        shutil.rmtree(carpeta, ignore_errors=True)
        carpeta.mkdir(parents=True)
        env.temp_data["zelk_carpetas"].add(env.docname)
    return carpeta


def _avisar(directiva, mensaje):
    logger.warning(mensaje, location=(directiva.state.document.settings.env.docname,
                                      directiva.lineno))


class ZelkArchivo(Directive):
    """A file of the example, written into the page's folder for the commands that follow and
    shown as it is: ``.. zelk-archivo:: casos.csv`` with its lines as content."""

    required_arguments = 1
    has_content = True

    def run(self):
        env = self.state.document.settings.env
        nombre = self.arguments[0]
        texto = "\n".join(self.content) + "\n"
        ruta = _trabajo(env) / nombre
        ruta.parent.mkdir(parents=True, exist_ok=True)
        ruta.write_text(texto, encoding="utf-8")
        bloque = nodes.literal_block(texto, texto)
        bloque["language"] = "text"
        titulo = nodes.caption("", nombre)
        contenedor = nodes.container("", titulo, bloque, classes=["literal-block-wrapper"])
        contenedor["literal_block"] = True
        return [contenedor]


class ZelkCalc(Directive):
    """zelk-calc with the given arguments, run while the manual is built: the command and what
    it writes (standard output, then standard error) into the page. Content, when there is some,
    is the output the page expects, and any difference fails the build; so does an exit status
    other than ``:estado:`` (0 unless given)."""

    required_arguments = 1
    final_argument_whitespace = True
    has_content = True
    option_spec = {
        "estado": directives.nonnegative_int,
        # Variables shown before the command and set for it ("LC_ALL=es_ES.UTF-8").
        "entorno": directives.unchanged,
        # Files of the repository copied into the page's folder under the same relative path.
        "copia": directives.unchanged,
        # A picture the command wrote, shown after its output, and its caption.
        "imagen": directives.unchanged,
        "leyenda": directives.unchanged,
        # A name under which its NOMBRE<TAB>TEXTO lines are kept for the role :zelk:.
        "nombre": directives.unchanged,
        # Only the lines of the output that match (a regular expression), and of each only its
        # first N comma-separated fields, are shown, and checked against the content.
        "lineas": directives.unchanged,
        "columnas": directives.positive_int,
    }

    def run(self):
        env = self.state.document.settings.env
        programa = env.config.zelk_calc
        if not programa or not os.access(programa, os.X_OK):
            _avisar(self, f"zelk-calc no está en «{programa}» (zelk_calc en conf.py o -D)")
            return []
        carpeta = _trabajo(env)
        for copia in (self.options.get("copia") or "").split():
            origen = RAIZ / copia
            (carpeta / copia).parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(origen, carpeta / copia)
            env.note_dependency(str(origen))
        entorno_texto = self.options.get("entorno", "")
        argumentos = self.arguments[0]
        entorno = {"PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8", "HOME": str(carpeta)}
        for variable in shlex.split(entorno_texto):
            clave, _, valor = variable.partition("=")
            entorno[clave] = valor
        try:
            hecho = subprocess.run([programa, *shlex.split(argumentos)], cwd=carpeta,
                                   env=entorno, capture_output=True, timeout=120, check=False)
        except (OSError, subprocess.TimeoutExpired) as e:
            _avisar(self, f"zelk-calc {argumentos}: {e}")
            return []
        salida = hecho.stdout.decode("utf-8")
        errores = hecho.stderr.decode("utf-8")
        esperado = self.options.get("estado", 0)
        if hecho.returncode != esperado:
            _avisar(self, f"zelk-calc {argumentos} terminó con el estado {hecho.returncode}, "
                          f"no {esperado}:\n{errores}")
        texto = salida.replace("\r\n", "\n") + errores
        if "nombre" in self.options:
            lineas = dict(l.split("\t", 1) for l in salida.splitlines() if "\t" in l)
            env.temp_data.setdefault("zelk_salidas", {})[self.options["nombre"]] = lineas
        if "lineas" in self.options:
            patron = re.compile(self.options["lineas"])
            texto = "\n".join(l for l in texto.splitlines() if patron.search(l)) + "\n"
        if "columnas" in self.options:
            n = self.options["columnas"]
            texto = "\n".join(",".join(l.split(",")[:n]) for l in texto.splitlines()) + "\n"
        # What the page shows is what it is checked against.
        if self.content:
            escrito = "\n".join(self.content)
            if _normal(escrito) != _normal(texto):
                _avisar(self, f"la salida de zelk-calc {argumentos} no es la del manual:\n"
                              f"--- manual\n{escrito}\n--- zelk-calc\n{texto}")
        orden = "$ " + (entorno_texto + " " if entorno_texto else "") + "zelk-calc " + argumentos
        estado = f"(estado de salida: {hecho.returncode})\n" if hecho.returncode else ""
        bloque_texto = orden + "\n" + texto + estado
        bloque = nodes.literal_block(bloque_texto, bloque_texto)
        bloque["language"] = "text"
        resultado = [bloque]
        if "imagen" in self.options:
            ruta = carpeta / self.options["imagen"]
            if not ruta.is_file():
                _avisar(self, f"zelk-calc {argumentos} no dejó «{self.options['imagen']}»")
            else:
                resultado.append(imagen_generada(
                    ruta=str(ruta), nombre=f"{env.docname}-{ruta.name}",
                    alt=self.options.get("leyenda", ruta.name),
                    leyenda=self.options.get("leyenda", "")))
        return resultado


class ZelkTabla(Directive):
    """A table of the program's data, results or control data: each name, its caption and its
    start-up value as the program itself gives them (from the module zelk), and the manual's
    description of it, given as the content in lines ``nombre: descripción`` (a description may
    go on in indented lines). A name missing, repeated, unknown or out of the program's order
    fails the build."""

    has_content = True
    option_spec = {"de": lambda a: directives.choice(a, ("datos", "resultados", "control"))}

    def run(self):
        import zelk

        de = self.options.get("de", "datos")
        if de == "datos":
            nombres = list(zelk.PARAMETROS)
            valores = {n: f"{zelk.VALORES_INICIO[n]:g}" for n in nombres}
            cabecera = "Valor del inicio"
        elif de == "control":
            nombres = list(zelk.CONTROL)
            valores = {n: (f"{v:g}" if isinstance(v, float) else v)
                       for n, v in zelk.CONTROL.items()}
            cabecera = "Por defecto"
        else:
            nombres = list(zelk.RESULTADOS)
            valores = zelk.pasada({}, locale="en_US")
            cabecera = "Al inicio"
        descripciones = {}
        orden = []
        for linea in self.content:
            if linea[:1] not in ("", " ") and ":" in linea:
                nombre, _, texto = linea.partition(":")
                nombre = nombre.strip()
                if nombre in descripciones:
                    _avisar(self, f"zelk-tabla: «{nombre}» dos veces")
                descripciones[nombre] = [texto.strip()]
                orden.append(nombre)
            elif orden:
                descripciones[orden[-1]].append(linea.strip())
        if orden != nombres:
            _avisar(self, f"zelk-tabla: se esperan {nombres}, en ese orden; hay {orden}")
        filas = [".. list-table::", "   :header-rows: 1", "   :widths: 12 20 12 56", "",
                 "   * - Nombre", "     - En la ventana", f"     - {cabecera}",
                 "     - Qué es"]
        for n in orden:
            titulo = zelk.TITULOS.get(n, n)
            filas += [f"   * - ``{n}``", f"     - {titulo}", f"     - ``{valores.get(n, '')}``",
                      "     - " + " ".join(descripciones[n])]
        vista = ViewList()
        for i, fila in enumerate(filas):
            vista.append(fila, self.state.document.settings.env.docname, i)
        nodo = nodes.section()
        nested_parse_with_titles(self.state, vista, nodo)
        return nodo.children


def _normal(texto):
    """The text as compared: reStructuredText turns the tabs of a page into spaces."""
    return "\n".join(re.sub(r"\s+", " ", l).strip() for l in texto.strip("\n").splitlines())


def rol_zelk(nombre, texto_crudo, texto, linea, inliner, opciones=None, contenido=()):
    """:zelk:`ejemplo.alpha`: the text zelk-calc gave for a result in the run named
    ``ejemplo`` earlier in the page, so that the prose quotes the program's own figures."""
    env = inliner.document.settings.env
    corrida, _, campo = texto.partition(".")
    valor = env.temp_data.get("zelk_salidas", {}).get(corrida, {}).get(campo)
    if valor is None:
        mensaje = inliner.reporter.warning(
            f"no hay ninguna salida «{corrida}» con «{campo}» antes en la página", line=linea)
        return [inliner.problematic(texto_crudo, texto_crudo, mensaje)], [mensaje]
    return [nodes.literal(valor, valor)], []


# The schematic's places for the names of the data and results, in its own pixels: the label,
# its x and y, and its anchor.
ETIQUETAS = [
    ("Uacr", 81, -4, "middle"), ("tapr", 150, 12, "start"), ("Eacr", 160, 100, "middle"),
    ("Nr, Rcr, Xcr", 207, 100, "start"), ("α, μr", 207, 114, "start"),
    ("Vdcr", 196, 6, "end"), ("Idc →", 228, 6, "middle"), ("Rdc", 275, 2, "middle"),
    ("Vdci", 366, 6, "start"), ("Ni, Rci, Xci", 355, 100, "end"), ("γ, μi", 355, 114, "end"),
    ("Eaci", 403, 100, "middle"), ("tapi", 416, 12, "end"), ("Uaci", 485, -4, "middle"),
    ("Iacr, Pr, Qr", 60, 128, "middle"), ("Iaci, Pi, Qi", 505, 128, "middle"),
]


def esquema_anotado(origen, destino):
    """The window's schematic with room above and below for the names of the data, which are
    written at their places: the drawing stays the window's own."""
    ET.register_namespace("", "http://www.w3.org/2000/svg")
    ET.register_namespace("xlink", "http://www.w3.org/1999/xlink")
    arbol = ET.parse(origen)
    svg = arbol.getroot()
    ancho, alto = float(svg.get("width")), float(svg.get("height"))
    arriba, abajo = 22, 0
    svg.set("viewBox", f"0 {-arriba} {ancho:g} {alto + arriba + abajo:g}")
    svg.set("height", f"{alto + arriba + abajo:g}")
    ns = "{http://www.w3.org/2000/svg}"
    fondo = ET.Element(f"{ns}rect", x="0", y=str(-arriba), width=f"{ancho:g}",
                       height=str(arriba), fill="rgb(191,191,191)")
    svg.insert(0, fondo)
    for texto, x, y, ancla in ETIQUETAS:
        e = ET.SubElement(svg, f"{ns}text", x=str(x), y=str(y + 10), fill="#000")
        e.set("font-family", "DejaVu Sans, sans-serif")
        e.set("font-size", "10")
        e.set("text-anchor", ancla)
        e.text = texto
    arbol.write(destino, encoding="utf-8", xml_declaration=True)


class ZelkEsquema(Directive):
    """The window's schematic (ui/comun/recursos/esquema.svg) with the names of the data."""

    has_content = False
    option_spec = {"leyenda": directives.unchanged}

    def run(self):
        env = self.state.document.settings.env
        origen = RAIZ / "ui" / "comun" / "recursos" / "esquema.svg"
        env.note_dependency(str(origen))
        destino = _trabajo(env) / "esquema-anotado.svg"
        esquema_anotado(origen, destino)
        leyenda = self.options.get("leyenda", "")
        return [imagen_generada(ruta=str(destino), nombre=f"{env.docname}-esquema.svg",
                                alt=leyenda or "Esquema del enlace", leyenda=leyenda)]


class ZelkVentana(Directive):
    """A picture of the calculator window drawn by the window's own code while the manual is
    built: ``.. zelk-ventana:: es_ES [NOMBRE=TEXTO]...`` (with data, after pressing
    "Calcular")."""

    required_arguments = 1
    final_argument_whitespace = True
    option_spec = {"leyenda": directives.unchanged}

    def run(self):
        env = self.state.document.settings.env
        programa = env.config.zelk_captura
        argumentos = shlex.split(self.arguments[0])
        nombre = "ventana-" + re.sub(r"[^A-Za-z0-9_.-]+", "_", "-".join(argumentos)) + ".png"
        destino = _trabajo(env) / nombre
        try:
            hecho = subprocess.run([programa, argumentos[0], str(destino), *argumentos[1:]],
                                   env={"PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8",
                                        "XDG_RUNTIME_DIR": str(_trabajo(env))},
                                   capture_output=True, timeout=120, check=False)
        except (OSError, subprocess.TimeoutExpired) as e:
            _avisar(self, f"captura_ventana: {e}")
            return []
        if hecho.returncode != 0 or not destino.is_file():
            _avisar(self, f"captura_ventana {self.arguments[0]}: "
                          f"{hecho.stderr.decode('utf-8', 'replace')}")
            return []
        leyenda = self.options.get("leyenda", "")
        return [imagen_generada(ruta=str(destino), nombre=f"{env.docname}-{nombre}",
                                alt=leyenda or "La ventana de zelk", leyenda=leyenda)]


def setup(app):
    app.add_config_value("zelk_calc", "", "env")
    app.add_config_value("zelk_captura", "", "env")
    app.add_node(imagen_generada, html=(_visitar_imagen_html, None),
                 latex=(_saltar, None), text=(_saltar, None), man=(_saltar, None),
                 texinfo=(_saltar, None))
    app.add_directive("zelk-calc", ZelkCalc)
    app.add_directive("zelk-archivo", ZelkArchivo)
    app.add_directive("zelk-esquema", ZelkEsquema)
    app.add_directive("zelk-tabla", ZelkTabla)
    app.add_directive("zelk-ventana", ZelkVentana)
    app.add_role("zelk", rol_zelk)
    return {"version": "1", "parallel_read_safe": False, "parallel_write_safe": True}
