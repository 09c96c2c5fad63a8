# Ctrl+C during a batch: KeyboardInterrupt, nothing returned, and the process goes on working.
# The time it takes is a figure of bench/interrupcion_bench.py; here the batch only has to stop
# long before it would have ended.
import signal
import subprocess
import sys
import time

import pytest

from conftest import entorno_de_python

# 2×10⁷ rows from a column of stride 0: seconds of work on one thread, little memory touched.
CODIGO = """
import sys, time
import numpy as np
import pandas as pd
import zelk
filas = 20_000_000
idc = np.broadcast_to(np.float64(1500), (filas,))
r = None
print("empieza", flush=True)
inicio = time.monotonic()
try:
    if sys.argv[2] == "tabla":
        r = zelk.calcular_lote(pd.DataFrame({"caso": np.zeros(filas, dtype=np.int8)}),
                               Idc=idc, hilos=int(sys.argv[1]))
    elif sys.argv[2] == "control":
        r = zelk.resolver_control_lote(consigna=idc, hilos=int(sys.argv[1]))
    else:
        r = zelk.calcular_lote(Idc=idc, hilos=int(sys.argv[1]))
    print("terminado", time.monotonic() - inicio, flush=True)
except KeyboardInterrupt:
    print("interrumpido", r is None, flush=True)
print(zelk.calcular_lote(Idc=[1000.0], Rdc=[12.0])["Pr"][0], flush=True)
"""


@pytest.mark.parametrize("hilos, forma", [(1, "arreglos"), (2, "arreglos"), (2, "tabla"),
                                          (2, "control")])
def test_ctrl_c_detiene_el_lote(hilos, forma):
    p = subprocess.Popen([sys.executable, "-c", CODIGO, str(hilos), forma],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         env=entorno_de_python())
    try:
        assert p.stdout.readline().strip() == "empieza"
        time.sleep(0.3)
        enviada = time.monotonic()
        p.send_signal(signal.SIGINT)
        linea = p.stdout.readline()
        tardanza = time.monotonic() - enviada
        resto = p.stdout.read()
        p.wait(timeout=120)
    finally:
        p.kill()
    assert linea.split() == ["interrumpido", "True"], linea + resto
    assert resto.strip() == "537.0" and p.returncode == 0, resto
    # The whole batch takes several seconds; the interrupted one stops well before.
    assert tardanza < 5, tardanza
