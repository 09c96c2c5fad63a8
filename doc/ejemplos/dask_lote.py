# zelk.calcular_lote sobre un DataFrame de Dask, partición a partición, en los procesos
# trabajadores de un clúster: la misma tabla, con el mismo índice, que en un solo proceso.
import dask.dataframe as dd
import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import zelk


def calcular_en_dask(tabla: pd.DataFrame, particiones: int) -> dd.DataFrame:
    """calcular_lote sobre `tabla` partida en `particiones` trozos de filas seguidas. Cada
    trozo se calcula en un trabajador con un hilo: es el clúster quien reparte los núcleos."""
    # sort=False: las filas en su orden, y no ordenadas por el índice.
    datos = dd.from_pandas(tabla, npartitions=particiones, sort=False)
    # Las columnas y sus tipos, de la tabla vacía: Dask los necesita antes de calcular.
    columnas = zelk.calcular_lote(tabla.iloc[:0])
    return datos.map_partitions(zelk.calcular_lote, hilos=1, meta=columnas)


if __name__ == "__main__":
    filas = 100_000
    tabla = pd.DataFrame({"caso": [f"c{i}" for i in range(filas)],
                          "Idc": np.linspace(500, 3000, filas), "Rdc": 10.0})
    with LocalCluster(n_workers=2, threads_per_worker=1) as cluster, Client(cluster):
        resultado = calcular_en_dask(tabla, particiones=8).compute()
    pd.testing.assert_frame_equal(resultado, zelk.calcular_lote(tabla))
    print(resultado[["Idc", "alpha", "mur", "Pr", "Qr"]].describe().round(2))
