# The module's functions sent to other processes: pickled by reference, as a module-level function
# is, so that ProcessPoolExecutor, joblib and Dask can run them in their workers.
import inspect
import multiprocessing
import pickle
from concurrent.futures import ProcessPoolExecutor

import cloudpickle
import numpy as np
import pandas as pd
import pytest

import zelk

# Functions and classes; the type aliases (Arreglo, Numero, Orden) are typing's own objects.
PUBLICOS = [n for n in zelk.__all__
            if inspect.isfunction(getattr(zelk, n)) or inspect.isclass(getattr(zelk, n))]


@pytest.mark.parametrize("nombre", PUBLICOS)
def test_cada_funcion_y_clase_publica_viaja_por_su_nombre(nombre):
    objeto = getattr(zelk, nombre)
    for modulo in (pickle, cloudpickle):
        datos = modulo.dumps(objeto)
        # By reference: the name, not the code (cloudpickle would send a function it cannot find
        # by name as its code and closure, which holds the extension's function).
        assert len(datos) < 200, (modulo.__name__, len(datos))
        assert pickle.loads(datos) is objeto


def test_las_funciones_son_todas_las_de_la_extension():
    assert {"calcular", "calcular_lote", "pasada", "tap_para", "resolver_control",
            "resolver_control_lote", "leer_psse"} <= set(PUBLICOS)


def _tabla(filas):
    return pd.DataFrame({"caso": [f"c{i}" for i in range(filas)],
                         "Idc": np.linspace(500, 3000, filas), "Rdc": 10.0,
                         "Nr": np.where(np.arange(filas) % 7 == 3, 0.0, 2.0)},
                        index=pd.RangeIndex(100, 100 + filas))


def test_un_pool_de_procesos_da_la_tabla_de_uno_solo():
    tabla = _tabla(40)
    trozos = [tabla.iloc[i:i + 10] for i in range(0, len(tabla), 10)]
    # "spawn": workers that import zelk by its name, as on Windows and in Dask's workers.
    with ProcessPoolExecutor(2, mp_context=multiprocessing.get_context("spawn")) as pool:
        partes = list(pool.map(zelk.calcular_lote, trozos))
        # An error raised in a worker arrives whole, with what it names.
        with pytest.raises(zelk.DatosRechazados) as e:
            pool.submit(zelk.calcular, Nr=0).result()
    assert (e.value.parametro, e.value.valor) == ("Nr", 0.0)
    pd.testing.assert_frame_equal(pd.concat(partes), zelk.calcular_lote(tabla))
