"""The build backend that pip runs for zelk (PEP 517): the module built by the project's own CMake,
for the Python that runs pip, and packed into a wheel. It needs nothing but the standard library
(tomllib, or tomli before Python 3.11), CMake, a C++20 compiler, Qt 6 Core and pybind11.

The version and the one-line description are the project's own, from CMakeLists.txt and the
Debian package's settings; the rest of the metadata is pyproject.toml's [project] table.
"""
import base64
import hashlib
import io
import os
import pathlib
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

RAIZ = pathlib.Path(__file__).resolve().parents[2]


def _proyecto():
    try:
        import tomllib
    except ImportError:  # before Python 3.11
        import tomli as tomllib
    with open(RAIZ / "pyproject.toml", "rb") as f:
        return tomllib.load(f)["project"]


def _de_cmake(archivo, patron):
    texto = (RAIZ / archivo).read_text(encoding="utf-8")
    hallado = re.search(patron, texto)
    if not hallado:
        raise RuntimeError(f"{archivo} no dice {patron}")
    return hallado.group(1)


def version():
    return _de_cmake("CMakeLists.txt", r"project\(zelk VERSION ([0-9.]+)")


def _metadatos():
    p = _proyecto()
    lineas = [
        "Metadata-Version: 2.1",
        f"Name: {p['name']}",
        f"Version: {version()}",
        "Summary: " + _de_cmake("cmake/Paquete.cmake", r'DESCRIPTION_SUMMARY "([^"]+)"'),
    ]
    if "requires-python" in p:
        lineas.append(f"Requires-Python: {p['requires-python']}")
    if "text" in p.get("license", {}):
        lineas.append(f"License: {p['license']['text']}")
    lineas += [f"Classifier: {c}" for c in p.get("classifiers", [])]
    lineas += [f"Requires-Dist: {d}" for d in p.get("dependencies", [])]
    for extra, requisitos in p.get("optional-dependencies", {}).items():
        lineas.append(f"Provides-Extra: {extra}")
        lineas += [f'Requires-Dist: {r}; extra == "{extra}"' for r in requisitos]
    return "\n".join(lineas) + "\n"


def _etiqueta():
    """cp311-cp311-linux_x86_64: the module is built for this interpreter, ABI and platform."""
    if sys.implementation.name != "cpython":
        raise RuntimeError("zelk se construye para CPython")
    cp = f"cp{sys.version_info[0]}{sys.version_info[1]}"
    return f"{cp}-{cp}-" + re.sub(r"[-.]", "_", sysconfig.get_platform())


def _cmake(*argumentos):
    # pip shows what the build prints when it fails, or with -v.
    subprocess.run(["cmake", *argumentos], check=True, stdout=sys.stderr)


def _construir(destino):
    """The module, installed as the wheel holds it, into destino/zelk."""
    obra = pathlib.Path(destino) / "obra"
    opciones = [
        "-S", str(RAIZ), "-B", str(obra), "-DCMAKE_BUILD_TYPE=Release",
        "-DZELK_SOLO_PYTHON=ON", f"-DPython3_EXECUTABLE={sys.executable}",
        "-DZELK_PYTHON_DESTINO=zelk",
    ]
    if shutil.which("ninja") and "CMAKE_GENERATOR" not in os.environ:
        opciones += ["-G", "Ninja"]
    try:  # pybind11 installed with pip, where there is no system one
        import pybind11

        opciones.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
    except ImportError:
        pass
    _cmake(*opciones)
    _cmake("--build", str(obra), "--target", "zelk_python",
           "--parallel", os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1)))
    raiz = pathlib.Path(destino) / "raiz"
    _cmake("--install", str(obra), "--component", "python", "--prefix", str(raiz), "--strip")
    return raiz


def _resumen(datos):
    digest = base64.urlsafe_b64encode(hashlib.sha256(datos).digest()).rstrip(b"=").decode()
    return f"sha256={digest},{len(datos)}"


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    nombre = f"zelk-{version()}"
    etiqueta = _etiqueta()
    archivo = f"{nombre}-{etiqueta}.whl"
    info = f"{nombre}.dist-info"
    with tempfile.TemporaryDirectory(prefix="zelk-wheel-") as temporal:
        raiz = _construir(temporal)
        contenido = {
            ruta.relative_to(raiz).as_posix(): ruta.read_bytes()
            for ruta in sorted(raiz.rglob("*")) if ruta.is_file()
        }
    contenido[f"{info}/METADATA"] = _metadatos().encode()
    contenido[f"{info}/WHEEL"] = (
        f"Wheel-Version: 1.0\nGenerator: construir_zelk {version()}\nRoot-Is-Purelib: false\n"
        f"Tag: {etiqueta}\n").encode()
    registro = [f"{ruta},{_resumen(datos)}" for ruta, datos in contenido.items()]
    contenido[f"{info}/RECORD"] = ("\n".join(registro + [f"{info}/RECORD,,"]) + "\n").encode()
    with zipfile.ZipFile(pathlib.Path(wheel_directory) / archivo, "w",
                         zipfile.ZIP_DEFLATED) as wheel:
        for ruta, datos in contenido.items():
            wheel.writestr(ruta, datos)
    return archivo


def _fuentes():
    """The project's files: git's list where there is one, else the tree without builds."""
    try:
        salida = subprocess.run(["git", "-C", str(RAIZ), "ls-files", "-z"], check=True,
                                capture_output=True).stdout
        return [RAIZ / r for r in salida.decode().split("\0") if r and (RAIZ / r).is_file()]
    except (OSError, subprocess.CalledProcessError):
        return [r for r in RAIZ.rglob("*") if r.is_file() and not any(
            p.startswith(("build", ".git")) for p in r.relative_to(RAIZ).parts)]


def build_sdist(sdist_directory, config_settings=None):
    nombre = f"zelk-{version()}"
    archivo = f"{nombre}.tar.gz"
    with tarfile.open(pathlib.Path(sdist_directory) / archivo, "w:gz",
                      format=tarfile.PAX_FORMAT) as tar:
        for ruta in _fuentes():
            tar.add(ruta, arcname=f"{nombre}/{ruta.relative_to(RAIZ).as_posix()}")
        info = tarfile.TarInfo(f"{nombre}/PKG-INFO")
        datos = _metadatos().encode()
        info.size = len(datos)
        tar.addfile(info, io.BytesIO(datos))
    return archivo
