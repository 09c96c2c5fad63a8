"""A million-row batch through zelk-calc, to CSV and to JSON, against pandas only reading the same
file. Figures, not a test. Run from the project's root after a build:

    /usr/bin/python3 bench/lotes_frente_a_pandas.py [--filas N] [--veces R] [--zelk-calc RUTA]

Makes the file once (all 18 parameter columns, about 92 bytes a row, "." decimal and ","
between fields), then takes, in turn and R times over: zelk-calc to a new CSV file, to CSV
replacing the file of the run before, to a new JSON file, and pandas.read_csv, each as wall
time. Prints the medians and their ratios, the rows per second of
zelk-calc on one thread and on two, and the peak memory of zelk-calc on ten million rows fed
through a pipe.
"""
import argparse
import os
import platform
import random
import statistics
import subprocess
import sys
import tempfile
import time

NOMBRES = ("Uacr tapr Nr Idc Rcr Xcr Uaci tapi Ni Vdci Rci Xci Rdc Vdcnom Eacr_nom Eaci_nom "
           "Uacr_nom Uaci_nom").split()


def filas(n, semilla=1):
    """Operating points around the start-up values, each text as a spreadsheet writes it."""
    azar = random.Random(semilla)
    taps = ("0.95", "0.975", "1", "1.025", "1.05")
    for _ in range(n):
        yield ",".join((
            f"{azar.uniform(480, 520):.2f}", azar.choice(taps), "2",
            f"{azar.uniform(1000, 3000):.1f}", f"{azar.uniform(0, 0.5):.3f}",
            f"{azar.uniform(3, 5):.3f}", f"{azar.uniform(480, 520):.2f}", azar.choice(taps), "2",
            f"{azar.uniform(500, 530):.1f}", f"{azar.uniform(0, 0.5):.3f}",
            f"{azar.uniform(3, 5):.3f}", f"{azar.uniform(10, 14):.3f}", "550", "220", "220",
            "500", "500")) + "\n"


def archivo(carpeta, n):
    ruta = os.path.join(carpeta, f"lote_{n}.csv")
    if not os.path.exists(ruta):
        with open(ruta + ".tmp", "w", encoding="ascii") as f:
            f.write(",".join(NOMBRES) + "\n")
            f.writelines(filas(n))
        os.replace(ruta + ".tmp", ruta)
    return ruta


def cronometrar(accion):
    inicio = time.perf_counter()
    accion()
    return time.perf_counter() - inicio


def zelk(zelk_calc, *args):
    # C.UTF-8: "." decimal, as the file is written.
    entorno = dict(os.environ, LC_ALL="C.UTF-8")
    subprocess.run([zelk_calc, *args], check=True, env=entorno, stdout=subprocess.DEVNULL)


def pico_por_tubo(zelk_calc, n):
    """Peak resident memory of zelk-calc, in MB, computing n rows written into its standard
    input as they are made. Read from the process's own high-water mark, which starts afresh at
    its exec: what the parent held before is not counted."""
    entorno = dict(os.environ, LC_ALL="C.UTF-8")
    proceso = subprocess.Popen([zelk_calc, "--csv", "-", "-o", os.devnull], stdin=subprocess.PIPE,
                               env=entorno)
    pico = 0

    def leer_pico():
        nonlocal pico
        try:
            with open(f"/proc/{proceso.pid}/status", encoding="ascii") as estado:
                for linea in estado:
                    if linea.startswith("VmHWM:"):
                        pico = max(pico, int(linea.split()[1]))
        except (FileNotFoundError, ProcessLookupError):
            pass

    proceso.stdin.write((",".join(NOMBRES) + "\n").encode())
    lote = []
    for fila in filas(n, semilla=2):
        lote.append(fila)
        if len(lote) == 10000:
            proceso.stdin.write("".join(lote).encode())
            lote.clear()
            leer_pico()
    proceso.stdin.write("".join(lote).encode())
    proceso.stdin.close()
    while proceso.poll() is None:
        leer_pico()
        time.sleep(0.01)
    if proceso.returncode != 0:
        sys.exit(f"zelk-calc terminó con {proceso.returncode}")
    return pico / 1024


def main():
    partes = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    partes.add_argument("--filas", type=int, default=1_000_000)
    partes.add_argument("--veces", type=int, default=5)
    partes.add_argument("--zelk-calc", default="build/apps/zelk-calc/zelk-calc")
    partes.add_argument("--pico", type=int, default=10_000_000,
                        help="filas por la tubería para medir la memoria (0: no se mide)")
    opciones = partes.parse_args()

    import pandas as pd

    carpeta = os.path.join(tempfile.gettempdir(), "zelk-banco")
    os.makedirs(carpeta, exist_ok=True)
    entrada = archivo(carpeta, opciones.filas)
    salida = os.path.join(carpeta, "salida")
    print(f"{platform.node()}: {os.cpu_count()} núcleos; {opciones.filas} filas, "
          f"{os.path.getsize(entrada) / 1e6:.0f} MB; mediana de {opciones.veces}")

    def nueva(ruta):
        """A run that writes a new file: the previous one goes first, untimed. Replacing a file
        also costs the file system the old one's removal (tens of ms for 180 MB on ext4), which
        is not the batch's work; "csv reemplaza" shows it."""
        def preparar():
            if os.path.exists(ruta):
                os.remove(ruta)
        return preparar

    nada = lambda: None  # noqa: E731
    csv, json = salida + ".csv", salida + ".json"
    z = opciones.zelk_calc
    acciones = {
        "csv": (nueva(csv), lambda: zelk(z, "--csv", entrada, "-o", csv)),
        "csv reemplaza": (nada, lambda: zelk(z, "--csv", entrada, "-o", csv)),
        "json": (nueva(json), lambda: zelk(z, "--csv", entrada, "--format", "json", "-o", json)),
        "pandas": (nada, lambda: pd.read_csv(entrada)),
        "csv 1 hilo": (nueva(csv), lambda: zelk(z, "--csv", entrada, "-o", csv, "--hilos", "1")),
        "csv 2 hilos": (nueva(csv), lambda: zelk(z, "--csv", entrada, "-o", csv, "--hilos", "2")),
    }
    medidas = {k: [] for k in acciones}
    for _ in range(opciones.veces):
        for nombre, (preparar, accion) in acciones.items():
            preparar()
            medidas[nombre].append(cronometrar(accion))
    mediana = {k: statistics.median(v) for k, v in medidas.items()}
    for nombre, segundos in mediana.items():
        print(f"  {nombre:14} {segundos:7.3f} s  {opciones.filas / segundos / 1e6:5.2f} M filas/s")
    print(f"  zelk-calc a CSV / pandas.read_csv: {mediana['csv'] / mediana['pandas']:.2f}")
    print(f"  zelk-calc a JSON / a CSV:          {mediana['json'] / mediana['csv']:.2f}")
    if opciones.pico:
        print(f"  pico de memoria, {opciones.pico} filas por una tubería: "
              f"{pico_por_tubo(opciones.zelk_calc, opciones.pico):.0f} MB")


if __name__ == "__main__":
    main()
