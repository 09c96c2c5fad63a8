# The module under Dask: a Dask DataFrame mapped partition by partition through it on a local
# cluster of two worker processes gives the single-process table, index and numbers alike. The
# manual's example (doc/ejemplos/dask_lote.py) is the code that runs here.
import importlib.util
import os

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import RAIZ

dd = pytest.importorskip("dask.dataframe")
distributed = pytest.importorskip("dask.distributed")

_origen = importlib.util.spec_from_file_location(
    "dask_lote", RAIZ / "doc" / "ejemplos" / "dask_lote.py")
ejemplo = importlib.util.module_from_spec(_origen)
_origen.loader.exec_module(ejemplo)


@pytest.fixture(scope="module")
def cliente(tmp_path_factory):
    # Workers are new interpreters that import zelk by its name from PYTHONPATH, as they would
    # on another machine with the module installed.
    cluster = distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None,
        local_directory=str(tmp_path_factory.mktemp("dask")))
    with cluster, distributed.Client(cluster) as c:
        assert len(c.scheduler_info()["workers"]) == 2
        yield c


def _tabla(filas):
    """Rows with a name, an index that is not 0..n-1, rejected rows and ERROR results."""
    i = np.arange(filas)
    return pd.DataFrame({"caso": [f"c{k}" for k in i], "Idc": np.linspace(-500, 6000, filas),
                         "Rdc": 10.0, "Nr": np.where(i % 97 == 5, 0.0, 2.0)},
                        index=pd.Index(1_000_000 - 3 * i, name="punto"))


def _control(filas):
    tabla = _tabla(filas).drop(columns="Idc")
    return tabla.assign(orden="potencia", consigna=np.linspace(-900, 1500, filas))


CASOS = [
    ("calcular_lote", zelk.calcular_lote, _tabla),
    ("resolver_control_lote", zelk.resolver_control_lote, _control),
]


@pytest.mark.parametrize("funcion, tabla", [c[1:] for c in CASOS], ids=[c[0] for c in CASOS])
def test_por_particiones_en_dos_procesos_la_tabla_de_uno(cliente, funcion, tabla):
    datos = tabla(20_000)
    columnas = funcion(datos.iloc[:0])
    en_dask = dd.from_pandas(datos, npartitions=7, sort=False).map_partitions(funcion, hilos=1,
                                                                  meta=columnas)
    resultado = en_dask.compute()
    # Every partition was computed in a worker, none in this process.
    donde = cliente.run(os.getpid)
    assert len(donde) == 2 and os.getpid() not in donde.values()
    pd.testing.assert_frame_equal(resultado, funcion(datos))
    assert not resultado["aceptado"].all() and resultado["Pr"].isna().any()


def test_el_ejemplo_del_manual(cliente):
    datos = _tabla(5_000)
    pd.testing.assert_frame_equal(ejemplo.calcular_en_dask(datos, 4).compute(),
                                  zelk.calcular_lote(datos))
