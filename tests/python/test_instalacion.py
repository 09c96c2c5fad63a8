# pip install . as the README says, in a throw-away virtual environment that sees Debian's
# packages, from a copy of the project's files as a clone holds them. It builds the module anew,
# so CTest runs it on its own (zelk_python_pip), outside the sanitizer build.
import os
import re
import shutil
import subprocess
import sys

import pytest

from conftest import RAIZ

pytestmark = pytest.mark.skipif(not os.environ.get("ZELK_PROBAR_PIP"),
                                reason="CTest lo corre aparte, como zelk_python_pip")


def archivos_del_proyecto():
    """What a clone of the project holds (with the work not yet committed)."""
    p = subprocess.run(["git", "-C", str(RAIZ), "ls-files", "-z", "--cached", "--others",
                        "--exclude-standard"], capture_output=True, check=True)
    return [r for r in p.stdout.decode().split("\0") if r and (RAIZ / r).is_file()]


def test_pip_install_en_un_venv(tmp_path):
    fuente = tmp_path / "zelk"
    for relativo in archivos_del_proyecto():
        (fuente / relativo).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(RAIZ / relativo, fuente / relativo)

    def arbol():  # but the bytecode of the backend, which pip imports
        return sorted(p.relative_to(fuente) for p in fuente.rglob("*")
                      if "__pycache__" not in p.parts)

    antes = arbol()
    entorno = {"PATH": "/usr/bin:/bin", "HOME": str(tmp_path), "LC_ALL": "C.UTF-8",
               "PIP_NO_CACHE_DIR": "1", "PIP_DISABLE_PIP_VERSION_CHECK": "1",
               "CMAKE_BUILD_PARALLEL_LEVEL": os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")}
    venv = tmp_path / "V"

    def ejecutar(*orden, cwd=tmp_path):
        p = subprocess.run([str(o) for o in orden], cwd=cwd, env=entorno, capture_output=True,
                           text=True, check=False, timeout=1500)
        assert p.returncode == 0, p.stdout[-4000:] + p.stderr[-4000:]
        return p.stdout

    ejecutar(sys.executable, "-m", "venv", "--system-site-packages", venv)
    ejecutar(venv / "bin/pip", "install", "--no-build-isolation", "--no-index", ".", cwd=fuente)
    # The build happened elsewhere: the sources are as they were.
    assert arbol() == antes

    version = re.search(r"project\(zelk VERSION ([0-9.]+)",
                        (RAIZ / "CMakeLists.txt").read_text(encoding="utf-8")).group(1)
    salida = ejecutar(venv / "bin/python", "-c",
                      "import importlib.metadata as m, zelk\n"
                      "print(m.version('zelk'), zelk.__version__)\n"
                      "print(zelk.__file__)\n"
                      "print(zelk.calcular(Idc=1000)['Vdcr'])\n"
                      "print(zelk.calcular_lote(Idc=[1000.0])['Pr'][0])\n"
                      "print(round(zelk.resolver_control(consigna=537)['Pr'], 6))\n").splitlines()
    assert salida[0] == f"{version} {version}"
    assert salida[1].startswith(str(venv / "lib"))
    assert salida[2:] == ["537.0", "537.0", "537.0"]
    assert "zelk" in ejecutar(venv / "bin/pip", "list", "--format=freeze")
