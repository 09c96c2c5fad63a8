"""zelk.calcular_lote from a pandas DataFrame beside the same points as NumPy arrays, the peak
memory of a batch from a DataFrame, and how soon Ctrl+C stops a batch.

Figures, not a test. Run with the module of the build tree:

    PYTHONPATH=build/python /usr/bin/python3 bench/lote_pandas_bench.py [--puntos N] [--veces R]
        [--solo filas|memoria|ctrl_c]

Rows per second: the median of R runs of each, taken in turn, on 1 and 2 threads, of N points
(1,000,000) of all 18 parameters, from arrays, from a DataFrame and from a DataFrame with
copiar=False ("sin copia"). Peak memory: the peak resident size of a process that holds
10,000,000 rows of the 18 parameters (float64, 1.44 GB) as a DataFrame and computes them from it
("DataFrame", whose output holds a copy of the given columns; "DataFrame, copiar=False", whose
output shares them) or from its columns as arrays ("arreglos"), beside the process that computes
nothing ("nada"); the median of 3. Ctrl+C: the time from SIGINT to the KeyboardInterrupt of a
batch of 20,000,000 rows, the median of R.
"""
import argparse
import os
import platform
import signal
import statistics
import subprocess
import sys
import time

import numpy as np
import pandas as pd

import zelk

MEMORIA = """
import resource, sys
import numpy as np
import pandas as pd
import zelk
filas = int(sys.argv[1])
g = np.random.default_rng(5)
# One block of float64 columns, as read_csv leaves it, made without a copy of it.
bloque = np.empty((len(zelk.PARAMETROS), filas))
for k, p in enumerate(zelk.PARAMETROS):
    bloque[k] = g.uniform(0.5, 1.5, filas)
    bloque[k] *= zelk.VALORES_INICIO[p]
tabla = pd.DataFrame(bloque.T, columns=list(zelk.PARAMETROS), copy=False)
if sys.argv[2] == "DataFrame":
    salida = zelk.calcular_lote(tabla)
elif sys.argv[2] == "DataFrame, copiar=False":
    salida = zelk.calcular_lote(tabla, copiar=False)
elif sys.argv[2] == "arreglos":
    salida = zelk.calcular_lote({p: bloque[k] for k, p in enumerate(zelk.PARAMETROS)})
print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)
"""

INTERRUPCION = """
import sys
import numpy as np
import zelk
idc = np.broadcast_to(np.float64(1500), (20_000_000,))
print("empieza", flush=True)
try:
    zelk.calcular_lote(Idc=idc, hilos=int(sys.argv[1]))
    print("terminado", flush=True)
except KeyboardInterrupt:
    print("interrumpido", flush=True)
"""


def puntos(n):
    g = np.random.default_rng(3)
    return {p: zelk.VALORES_INICIO[p] * g.uniform(0.5, 1.5, n) for p in zelk.PARAMETROS}


def filas_por_segundo(n, veces):
    arreglos = puntos(n)
    tabla = pd.DataFrame(arreglos)
    casos = {}
    for hilos in (1, 2):
        casos[f"arreglos, {hilos} hilo(s)"] = lambda h=hilos: zelk.calcular_lote(arreglos, hilos=h)
        casos[f"DataFrame, {hilos} hilo(s)"] = lambda h=hilos: zelk.calcular_lote(tabla, hilos=h)
        casos[f"sin copia, {hilos} hilo(s)"] = lambda h=hilos: zelk.calcular_lote(
            tabla, hilos=h, copiar=False)
    tiempos = {nombre: [] for nombre in casos}
    for _ in range(veces):
        for nombre, caso in casos.items():
            inicio = time.perf_counter()
            caso()
            tiempos[nombre].append(time.perf_counter() - inicio)
    for nombre, t in tiempos.items():
        mediana = statistics.median(t)
        print(f"{nombre:24} {mediana * 1000:8.1f} ms  {n / mediana / 1e6:5.2f} M filas/s")


def memoria(filas):
    def pico(modo):
        p = subprocess.run([sys.executable, "-c", MEMORIA, str(filas), modo], check=True,
                           capture_output=True, text=True)
        return int(p.stdout) / 1024 / 1024  # kB to GiB
    for modo in ("nada", "DataFrame", "DataFrame, copiar=False", "arreglos"):
        gb = statistics.median(pico(modo) for _ in range(3))
        print(f"pico con {filas:,} filas de 18 float64, {modo}: {gb:.2f} GiB")


def interrupcion(veces):
    for hilos in (1, 2):
        tardanzas = []
        for _ in range(veces):
            p = subprocess.Popen([sys.executable, "-c", INTERRUPCION, str(hilos)],
                                 stdout=subprocess.PIPE, text=True)
            p.stdout.readline()
            time.sleep(0.5)
            enviada = time.perf_counter()
            p.send_signal(signal.SIGINT)
            linea = p.stdout.readline().strip()
            tardanzas.append(time.perf_counter() - enviada)
            p.wait()
            assert linea == "interrumpido", linea
        print(f"Ctrl+C, {hilos} hilo(s): mediana {statistics.median(tardanzas) * 1000:.0f} ms, "
              f"máximo {max(tardanzas) * 1000:.0f} ms")


def main():
    argumentos = argparse.ArgumentParser()
    argumentos.add_argument("--puntos", type=int, default=1_000_000)
    argumentos.add_argument("--veces", type=int, default=11)
    argumentos.add_argument("--filas-memoria", type=int, default=10_000_000)
    argumentos.add_argument("--solo", choices=["filas", "memoria", "ctrl_c"])
    a = argumentos.parse_args()
    print(f"{platform.processor() or platform.machine()}, {os.cpu_count()} núcleos, carga "
          f"{os.getloadavg()[0]:.1f}; medianas de {a.veces}")
    if a.solo in (None, "filas"):
        filas_por_segundo(a.puntos, a.veces)
    if a.solo in (None, "memoria"):
        memoria(a.filas_memoria)
    if a.solo in (None, "ctrl_c"):
        interrupcion(a.veces)


if __name__ == "__main__":
    main()
