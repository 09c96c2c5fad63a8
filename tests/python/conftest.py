# Shared by the tests of the module zelk, which CTest runs with the module of the build tree on
# PYTHONPATH and zelk-calc's path in ZELK_CALC.
import os
import pathlib
import re
import struct
import subprocess

import pytest

RAIZ = pathlib.Path(__file__).resolve().parents[2]

# The window's figures of the worked examples, as texts with a full stop: the data typed, then the
# result fields that the example names.
EJEMPLOS = [
    ("inicio", {}, {
        "alpha": "18.40", "mur": "7.57", "tgphir": "0.412", "gamma": "24.71", "mui": "6.14",
        "tgphii": "0.53", "Vdcr": "549", "Iacr": "1372.27", "Pr": "1098.0", "Qr": "452.4",
        "Iaci": "1372.27", "Pi": "-1050.0", "Qi": "555.4"}),
    ("Rcr_1", {"Rcr": "1"}, {"alpha": "15.78", "mur": "8.38", "tgphir": "0.369"}),
    ("Xcr_388", {"Xcr": "388"},
     {"alpha": "ERROR", "gamma": "24.71", "mui": "6.14", "tgphii": "0.53"}),
    # Negative cosines give the principal value of arccos, as the window shows it.
    ("Vdci_menos_600", {"Vdci": "-600"},
     {"alpha": "160.81", "mur": "13.07", "gamma": "170.00", "mui": "ERROR"}),
    ("tapr_1_1", {"tapr": "1.1"}, {"alpha": "ERROR", "Iacr": "1247.52", "Iaci": "1372.27"}),
    ("Rci_1", {"Rci": "1"},
     {"gamma": "26.49", "mui": "5.82", "tgphii": "0.57", "alpha": "18.40", "mur": "7.57"}),
    ("Ni_3", {"Ni": "3"}, {"gamma": "52.12", "mui": "3.54", "tgphii": "1.37"}),
    ("tapi_1_1", {"tapi": "1.1"}, {"gamma": "2.12", "mui": "17.07", "tgphii": "0.23"}),
    ("Xci_388", {"Xci": "388"},
     {"gamma": "ERROR", "alpha": "18.40", "mur": "7.57", "tgphir": "0.412"}),
    ("Rdc_0", {"Rdc": "0"}, {
        "Vdcr": "525", "Pr": "1050.0", "alpha": "24.71", "mur": "6.14", "tgphir": "0.529",
        "gamma": "24.71", "mui": "6.14", "tgphii": "0.53"}),
    ("Rdc_12_345", {"Rdc": "12.345"}, {"Vdcr": "549.69", "Pr": "1099.4"}),
    ("Idc_1000", {"Idc": "1000"}, {
        "alpha": "23.62", "mur": "3.34", "tgphir": "0.473", "gamma": "26.36", "mui": "3.06",
        "tgphii": "0.53", "Vdcr": "537", "Iacr": "686.13", "Pr": "537.0", "Qr": "254.2",
        "Iaci": "686.13", "Pi": "-525.0", "Qi": "278.2"}),
    ("puentes_4", {"Nr": "4", "Ni": "4"},
     {"Iacr": "2744.54", "Iaci": "2744.54", "Pr": "1098.0", "Pi": "-1050.0"}),
    ("reactancias_4", {"Xcr": "4", "Xci": "4"}, {"alpha": "18.26", "gamma": "24.60"}),
    ("Vdcnom_cualquiera", {"Vdcnom": "123456"}, {"alpha": "18.40", "Vdcr": "549", "Qi": "555.4"}),
]


def bits(x):
    """The bytes of a double, so that -0.0 and 0.0 differ and NaN equals NaN."""
    return struct.pack("<d", x)


@pytest.fixture(scope="session")
def zelk_calc():
    """Runs zelk-calc with arguments, under C.UTF-8 unless told otherwise."""
    ruta = os.environ.get("ZELK_CALC")
    if not ruta:
        pytest.fail("ZELK_CALC no dice dónde está zelk-calc (CTest lo define)")

    def ejecutar(*args, entrada=None, entorno=None):
        env = {"PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8"}
        env.update(entorno or {})
        return subprocess.run([ruta, *args], input=entrada, capture_output=True, text=True,
                              env=env, check=False, timeout=120)

    return ejecutar


def entorno_de_python(**variables):
    """This process's environment for a child python, without its regional settings (it keeps
    PYTHONPATH, and the preloaded sanitizer runtime of a sanitizer build)."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("LC_") and k not in ("LANG", "LANGUAGE")}
    env.update(variables)
    return env


def lineas(salida):
    """zelk-calc's NOMBRE<TAB>TEXTO lines as a dict."""
    return dict(linea.split("\t", 1) for linea in salida.splitlines())


def codigo_del_readme():
    """The README's Python example, taken from README.md itself so that the two cannot drift
    apart."""
    texto = (RAIZ / "README.md").read_text(encoding="utf-8")
    bloques = re.findall(r"^```python\n(.*?)^```", texto, re.S | re.M)
    assert bloques, "README.md no tiene ningún ejemplo de Python"
    return "\n".join(bloques)


def codigo_del_manual():
    """The manual's first Python example, the file its chapter on the module shows."""
    return (RAIZ / "doc" / "ejemplos" / "barrido_y_casos.py").read_text(encoding="utf-8")
