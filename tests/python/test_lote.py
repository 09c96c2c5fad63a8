# zelk.calcular_lote: arrays in, arrays out, the same figures as calcular row by row.
import math
import threading
from decimal import Decimal
from fractions import Fraction

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import bits


def como_calcular(lote, i):
    """Row i of a batch as calcular gives it: None where NaN."""
    return {n: (None if math.isnan(lote[n][i]) else float(lote[n][i])) for n in zelk.RESULTADOS}


def iguales(a, b):
    assert list(a) == list(b)
    for n in a:
        assert np.asarray(a[n]).tobytes() == np.asarray(b[n]).tobytes(), n


def test_forma_de_la_salida():
    r = zelk.calcular_lote(Idc=np.linspace(500, 3000, 7))
    assert list(r) == [*zelk.RESULTADOS, "aceptado"]
    for n in zelk.RESULTADOS:
        assert r[n].dtype == np.float64 and r[n].shape == (7,) and r[n].flags.writeable
    assert r["aceptado"].dtype == np.bool_ and r["aceptado"].all()
    assert not np.shares_memory(r["Iacr"], r["Iaci"])


@pytest.mark.parametrize("largo", [0, 1, 2])
def test_longitudes_pequenas(largo):
    idc = np.arange(largo, dtype=float) * 500 + 1000
    r = zelk.calcular_lote(Idc=idc, Rdc=10)
    assert all(r[n].shape == (largo,) for n in r)
    for i in range(largo):
        assert como_calcular(r, i) == zelk.calcular(Idc=idc[i], Rdc=10)


def test_solo_escalares_o_nada_es_una_fila():
    assert como_calcular(zelk.calcular_lote(), 0) == zelk.calcular()
    assert como_calcular(zelk.calcular_lote(Idc=1000, Rdc=np.float32(3)), 0) == zelk.calcular(
        Idc=1000, Rdc=3)


def test_longitudes_distintas():
    with pytest.raises(ValueError) as e:
        zelk.calcular_lote(Idc=[1, 2, 3], Rdc=[1, 2, 3, 4])
    assert "«Idc» tiene 3 filas y «Rdc» 4" in str(e.value)
    # A one-element array is an array, not a scalar.
    with pytest.raises(ValueError):
        zelk.calcular_lote(Idc=[1, 2, 3], Rdc=[10])
    with pytest.raises(ValueError):
        zelk.calcular_lote(Idc=[], Rdc=[10])


def test_nan_e_infinito_rechazan_su_fila_y_nada_mas():
    idc = np.array([1000, np.nan, 2000, np.inf, -np.inf, 1500])
    r = zelk.calcular_lote(Idc=idc)
    assert r["aceptado"].tolist() == [True, False, True, False, False, True]
    for i in (1, 3, 4):
        assert all(math.isnan(r[n][i]) for n in zelk.RESULTADOS)
    for i in (0, 2, 5):
        assert como_calcular(r, i) == zelk.calcular(Idc=idc[i])
    # In any parameter, also one no equation uses.
    for p in zelk.PARAMETROS:
        r = zelk.calcular_lote(**{p: np.array([np.nan, zelk.VALORES_INICIO[p]])})
        assert r["aceptado"].tolist() == [False, True], p


def test_ceros_rechazados_como_en_la_ventana():
    r = zelk.calcular_lote(tapr=[1, 0, -0.0, 1e-300], Idc=[0, 0, 0, 0])
    assert r["aceptado"].tolist() == [True, False, False, True]


@pytest.mark.parametrize("tipo", [np.int8, np.int32, np.int64, np.uint16, np.float16, np.float32,
                                  ">f8", bool])
def test_tipos_de_arreglo(tipo):
    valores = np.array([1, 2, 3, 4], dtype=tipo)
    r = zelk.calcular_lote(Nr=valores, Ni=valores)
    esperado = zelk.calcular_lote(Nr=valores.astype(np.float64), Ni=valores.astype(np.float64))
    iguales(r, esperado)


def test_float32_exacto():
    idc = np.array([1000.1, 2000.3, 1234.5678], dtype=np.float32)
    r = zelk.calcular_lote(Idc=idc)
    for i, v in enumerate(idc):
        assert como_calcular(r, i) == zelk.calcular(Idc=float(v))


def test_listas_y_arreglos_con_pasos():
    base = np.linspace(500, 3000, 20)
    iguales(zelk.calcular_lote(Idc=base[::2]), zelk.calcular_lote(Idc=list(base[::2])))
    iguales(zelk.calcular_lote(Idc=base[::-1]), zelk.calcular_lote(Idc=base[::-1].copy()))
    tabla = np.zeros(5, dtype=[("a", "i2"), ("Idc", "f8")])
    tabla["Idc"] = [500, 1000, 1500, 2000, 2500]
    iguales(zelk.calcular_lote(Idc=tabla["Idc"]), zelk.calcular_lote(Idc=[500, 1000, 1500, 2000,
                                                                            2500]))


def test_entradas_intactas():
    idc = np.linspace(500, 3000, 50)
    copia = idc.copy()
    zelk.calcular_lote(Idc=idc)
    assert idc.tobytes() == copia.tobytes()


@pytest.mark.parametrize("llamada, error, texto", [
    (lambda: zelk.calcular_lote(Idc=np.ones((2, 2))), ValueError, "una dimensión"),
    (lambda: zelk.calcular_lote(Idc=["1", "2"]), TypeError, "«Idc» es texto («1»)"),
    (lambda: zelk.calcular_lote(Idc="1000"), TypeError, "«Idc» es texto"),
    (lambda: zelk.calcular_lote(Idc=None), TypeError, "«Idc» es None"),
    (lambda: zelk.calcular_lote(Idc=np.array([1j, 2j])), TypeError, "«Idc»"),
    (lambda: zelk.calcular_lote(Idc=np.array(["2020-01-01"], dtype="datetime64[D]")), TypeError,
     "«Idc»"),
    (lambda: zelk.calcular_lote(Idc=np.array([1, {}], dtype=object)), TypeError,
     "«Idc» ha de ser un número, no dict"),
    (lambda: zelk.calcular_lote(IDC=[1]), TypeError, "«IDC»; ¿es «Idc»?"),
    (lambda: zelk.calcular_lote({"IDC": [1]}), ValueError, "columna «IDC»: ¿es el dato «Idc»?"),
    (lambda: zelk.calcular_lote({"caso": [1]}), ValueError, "«caso»"),
    (lambda: zelk.calcular_lote({"Idc": [1]}, Idc=[2]), ValueError, "dos veces"),
    (lambda: zelk.calcular_lote([1, 2]), TypeError, "DataFrame"),
    (lambda: zelk.calcular_lote({"Idc": [1]}, {"Rdc": [1]}), TypeError, ""),
    (lambda: zelk.calcular_lote(hilos=0), ValueError, "hilos va de 1 a 1024"),
    (lambda: zelk.calcular_lote(hilos=-3), ValueError, "hilos va de 1 a 1024"),
    (lambda: zelk.calcular_lote(hilos=1025), ValueError, "hilos va de 1 a 1024"),
    (lambda: zelk.calcular_lote(hilos=10**30), ValueError, "hilos va de 1 a 1024"),
    (lambda: zelk.calcular_lote(hilos=np.int64(-2**63)), ValueError, "hilos va de 1 a 1024"),
    (lambda: zelk.calcular_lote(hilos="2"), TypeError, "hilos"),
    (lambda: zelk.calcular_lote(hilos=2.0), TypeError, "hilos"),
    (lambda: zelk.calcular_lote(hilos=np.float64(2)), TypeError, "hilos"),
    (lambda: zelk.calcular_lote(hilos=True), TypeError, "hilos"),
    (lambda: zelk.calcular_lote(hilos=np.True_), TypeError, "hilos"),
], ids=["dos_dimensiones", "textos", "texto", "none", "complejos", "fechas", "objetos",
        "nombre", "columna", "columna_ajena", "repetido", "lista", "dos_tablas", "hilos_0",
        "hilos_negativo", "hilos_1025", "hilos_enorme", "hilos_int64_enorme", "hilos_texto",
        "hilos_float", "hilos_float64", "hilos_bool", "hilos_bool_numpy"])
def test_argumentos_erroneos(llamada, error, texto):
    with pytest.raises(error) as e:
        llamada()
    assert texto in str(e.value)


def test_objetos_numericos():
    r = zelk.calcular_lote(Idc=np.array([1000, 2000.0, None, Decimal(1500), True], dtype=object))
    assert r["aceptado"].tolist() == [True, True, False, True, True]
    iguales(r, zelk.calcular_lote(Idc=[1000, 2000, np.nan, 1500, 1]))


@pytest.mark.parametrize("hilos", [np.int64(2), np.uint8(3), np.int32(1), 1024])
def test_hilos_de_cualquier_entero(hilos):
    iguales(zelk.calcular_lote(Idc=[1000, 2000], hilos=hilos), zelk.calcular_lote(Idc=[1000, 2000]))


def test_diccionario_u_otra_tabla():
    tabla = pd.DataFrame({"Idc": [500, 1000, 2000], "Rdc": [10.0, 12.0, 14.0]})
    esperado = zelk.calcular_lote(Idc=tabla["Idc"].to_numpy(), Rdc=tabla["Rdc"].to_numpy())
    iguales(zelk.calcular_lote({"Idc": [500, 1000, 2000], "Rdc": [10, 12, 14]}), esperado)

    class Tabla:  # neither a dict nor pandas: columns by name
        columns = ["Idc", "Rdc"]

        def __getitem__(self, nombre):
            return tabla[nombre].to_numpy()

    iguales(zelk.calcular_lote(Tabla()), esperado)


def test_dataframe_con_huecos_y_repetidas():
    tabla = pd.DataFrame({"Idc": pd.array([1000, None, 2000], dtype="Int64")})
    assert zelk.calcular_lote(tabla)["aceptado"].tolist() == [True, False, True]
    repetidas = pd.DataFrame([[1000, 2000]], columns=["Idc", "Idc"])
    with pytest.raises(ValueError) as e:
        zelk.calcular_lote(repetidas)
    assert "«Idc» está dos veces" in str(e.value)
    # Columns of the user's may repeat, and keep their place.
    notas = pd.DataFrame([["a", 1000.0, "b"]], columns=["nota", "Idc", "nota"])
    assert zelk.calcular_lote(notas).columns[:3].tolist() == ["nota", "Idc", "nota"]


def muchos_puntos(n, semilla=3):
    g = np.random.default_rng(semilla)
    datos = {p: zelk.VALORES_INICIO[p] * g.uniform(0.5, 1.5, n) for p in zelk.PARAMETROS}
    datos["Idc"][::97] = np.nan  # some rejected rows
    datos["tapr"][::89] = 0
    return datos


@pytest.mark.parametrize("hilos", [2, 3, 7, 64, None])
def test_hilos_dan_los_mismos_bits(hilos):
    datos = muchos_puntos(200_003)
    uno = zelk.calcular_lote(datos, hilos=1)
    iguales(zelk.calcular_lote(datos, hilos=hilos), uno)
    for i in range(0, 200_003, 9973):
        fila = {p: datos[p][i] for p in zelk.PARAMETROS}
        if uno["aceptado"][i]:
            assert como_calcular(uno, i) == zelk.calcular(**fila)


def test_varios_hilos_de_python_a_la_vez():
    datos = muchos_puntos(60_000, semilla=5)
    esperado = zelk.calcular_lote(datos, hilos=1)
    salidas = [None] * 4
    errores = []

    def trabajar(k):
        try:
            salidas[k] = zelk.calcular_lote(datos, hilos=2)
        except Exception as e:  # noqa: BLE001, the test reports it
            errores.append(e)

    hilos = [threading.Thread(target=trabajar, args=(k,)) for k in range(4)]
    for h in hilos:
        h.start()
    for h in hilos:
        h.join()
    assert errores == []
    for s in salidas:
        iguales(s, esperado)


def test_nan_de_la_salida_son_los_de_calcular():
    r = zelk.calcular_lote(Xcr=[3.88, 388], Xci=[388, 3.88])
    assert math.isnan(r["alpha"][1]) and math.isnan(r["gamma"][0])
    assert bits(r["alpha"][0]) == bits(zelk.calcular(Xcr=3.88, Xci=388)["alpha"])


def test_sin_el_gil_mientras_calcula():
    # While one thread computes a large batch, another one can run Python: it wakes from its sleep
    # before the batch ends. Were the GIL held, it could only wake after.
    idc = np.linspace(500, 3000, 3_000_000)
    va_a_calcular = threading.Event()

    def calcular():
        va_a_calcular.set()
        zelk.calcular_lote(Idc=idc, hilos=1)

    hilo = threading.Thread(target=calcular)
    hilo.start()
    va_a_calcular.wait()
    threading.Event().wait(0.1)
    seguia = hilo.is_alive()
    hilo.join()
    assert seguia


def test_valores_enmascarados_rechazan_su_fila():
    idc = np.ma.masked_array([1000, 2000, 3000], mask=[False, True, False])
    r = zelk.calcular_lote(Idc=idc)
    assert r["aceptado"].tolist() == [True, False, True]
    nr = np.ma.masked_array(np.array([2, 0, 4], dtype=np.int32), mask=[False, False, True])
    assert zelk.calcular_lote(Nr=nr)["aceptado"].tolist() == [True, False, False]


# A number past the largest float is infinite and a signalling NaN a NaN: each rejects its row, in
# whatever holds it.
@pytest.mark.parametrize("funcion", [zelk.calcular_lote, zelk.resolver_control_lote])
@pytest.mark.parametrize("forma", [list, lambda v: np.array(v, dtype=object),
                                   lambda v: pd.Series(v, dtype=object)],
                         ids=["lista", "objetos", "serie"])
def test_numeros_fuera_de_float_rechazan_su_fila(funcion, forma):
    rdc = forma([12, 10**400, -10**400, Fraction(10**400), Decimal("sNaN"), 10])
    assert funcion(Rdc=rdc)["aceptado"].tolist() == [True, False, False, False, False, True]


# A masked value rejects its row whatever the array's type, and whatever lies under the mask.
@pytest.mark.parametrize("funcion", [zelk.calcular_lote, zelk.resolver_control_lote])
@pytest.mark.parametrize("datos, mascara", [
    (np.array([12.0, 1e400, 10.0]), [False, True, False]),
    (np.array([12, 0, 10], dtype=np.int8), [True, False, False]),
    (np.array([12, "?", None], dtype=object), [False, True, True]),
    (np.array(["12", "0", "x"]), [True, True, True]),
], ids=["float64", "int8", "objetos_con_texto", "texto"])
def test_enmascarados_de_todo_tipo(funcion, datos, mascara):
    r = funcion(Rdc=np.ma.masked_array(datos, mask=mascara))
    assert r["aceptado"].tolist() == [not m for m in mascara]
