# zelk.calcular_lote as a pandas user meets it: text never read as a number, rows paired by their
# index, a DataFrame out with the same index, columns judged as zelk-calc judges them.
import io
import tracemalloc

import numpy as np
import pandas as pd
import pytest

import zelk
from conftest import bits

# What a Spanish CSV holds, read in every way that leaves its numbers as text.
CSV_ES = "caso;Idc;Rdc\nA;1.000;12,5\nB;2.000;10\n"
TEXTOS = [
    ("string", lambda: pd.Series(["1.000"], dtype="string")),
    ("objetos", lambda: pd.Series(["1.000"], dtype=object)),
    ("objetos_numpy", lambda: np.array(["1.000"], dtype=object)),
    ("unicode", lambda: np.array(["1000"])),
    ("bytes", lambda: np.array([b"1000"])),
    ("lista", lambda: ["1000"]),
    ("lista_mezclada", lambda: [1000, "2000"]),
    ("objetos_con_numeros", lambda: np.array([1000.0, "2.000"], dtype=object)),
    ("categorias", lambda: pd.Series(["1", "2"], dtype="category")),
    ("csv_dtype_str", lambda: pd.read_csv(io.StringIO(CSV_ES), sep=";", dtype=str)["Idc"]),
    ("csv_sin_decimal", lambda: pd.read_csv(io.StringIO(CSV_ES), sep=";")["Rdc"]),
    ("texto_solo", lambda: "1000"),
    ("bytes_solo", lambda: b"1000"),
]


@pytest.mark.parametrize("en_tabla", [False, True], ids=["argumento", "dataframe"])
@pytest.mark.parametrize("nombre, valor", TEXTOS, ids=[t[0] for t in TEXTOS])
def test_un_texto_nunca_es_un_numero(nombre, valor, en_tabla):
    parametro = "Rdc" if nombre == "csv_sin_decimal" else "Idc"
    v = valor()
    with pytest.raises(TypeError) as e:
        if en_tabla:
            solo = isinstance(v, (str, bytes))
            zelk.calcular_lote(pd.DataFrame({parametro: v}, index=[0] if solo else None))
        else:
            zelk.calcular_lote(**{parametro: v})
    assert f"«{parametro}»" in str(e.value)
    assert 'pd.read_csv(..., decimal=",", thousands=".")' in str(e.value)
    assert "zelk-calc --csv" in str(e.value)


def test_la_tabla_espanola_leida_como_tal():
    tabla = pd.read_csv(io.StringIO(CSV_ES), sep=";", decimal=",", thousands=".",
                        index_col="caso")
    r = zelk.calcular_lote(tabla)
    assert r["Idc"].tolist() == [1000, 2000] and r["Rdc"].tolist() == [12.5, 10]
    assert r.loc["A", "Pr"] == zelk.calcular(Idc=1000, Rdc=12.5)["Pr"]


def iguales_a_los_arreglos(salida, **arreglos):
    esperado = zelk.calcular_lote(**{k: np.asarray(v) for k, v in arreglos.items()})
    for n in (*zelk.RESULTADOS, "aceptado"):
        assert salida[n].to_numpy().tobytes() == esperado[n].tobytes(), n


def test_dataframe_da_dataframe_con_su_indice():
    indice = pd.Index(["c", "a", "b", "a"], name="caso")
    tabla = pd.DataFrame({
        "nota": ["x", None, "z", "w"],
        "Idc": [500.0, 1000.0, np.nan, 2000.0],
        "zona": pd.Categorical(["n", "s", "n", "s"]),
        "Nr": pd.array([2, 2, None, 4], dtype="Int64"),
        7: [1, 2, 3, 4],
    }, index=indice)
    salida = zelk.calcular_lote(tabla, Rdc=10)
    assert list(salida.columns) == ["nota", "Idc", "zona", "Nr", 7, *zelk.RESULTADOS, "aceptado"]
    assert salida.index.equals(indice) and salida.index.name == "caso"
    # The given columns unchanged, in their own types.
    pd.testing.assert_frame_equal(salida[tabla.columns], tabla)
    assert salida["aceptado"].tolist() == [True, True, False, True]
    iguales_a_los_arreglos(salida, Idc=tabla["Idc"], Nr=[2, 2, np.nan, 4], Rdc=10)
    # A copy: changing the results changes nothing given.
    antes = tabla.copy()
    salida.loc[:, "Idc"] = 0.0
    salida.loc["a", "nota"] = "cambiada"
    pd.testing.assert_frame_equal(tabla, antes)


def test_una_tabla_filtrada_se_une_a_sus_resultados():
    tabla = pd.DataFrame({"Idc": np.linspace(500, 3000, 10), "Rdc": 10.0})
    filtrada = tabla[tabla["Idc"] > 1500]
    unida = filtrada.join(zelk.calcular_lote(filtrada)[list(zelk.RESULTADOS)])
    assert not unida.isna().any().any()
    assert unida.loc[9, "Pr"] == zelk.calcular(Idc=3000, Rdc=10)["Pr"]


@pytest.mark.parametrize("llamada", [
    lambda s: zelk.calcular_lote(Idc=s["Idc"], Rdc=s["Rdc"]),
    lambda s: zelk.calcular_lote({"Idc": s["Idc"], "Rdc": s["Rdc"].to_numpy()}),
    lambda s: zelk.calcular_lote(s[["Idc"]], Rdc=s["Rdc"]),
    lambda s: zelk.calcular_lote(s["Idc"], Rdc=s["Rdc"]),
], ids=["series", "dict", "dataframe_y_serie", "serie_con_nombre"])
def test_series_dan_dataframe(llamada):
    s = pd.DataFrame({"Idc": [3000.0, 1000.0], "Rdc": [5.0, 12.0]}, index=[10, 20])
    salida = llamada(s)
    assert isinstance(salida, pd.DataFrame) and salida.index.tolist() == [10, 20]
    assert list(salida.columns[:2]) == ["Idc", "Rdc"]
    iguales_a_los_arreglos(salida, Idc=s["Idc"], Rdc=s["Rdc"])


@pytest.mark.parametrize("llamada, nombres", [
    (lambda a, b: zelk.calcular_lote(Idc=a, Rdc=b), ("«Idc»", "«Rdc»")),
    (lambda a, b: zelk.calcular_lote(pd.DataFrame({"Idc": a}), Rdc=b), ("el DataFrame", "«Rdc»")),
    (lambda a, b: zelk.calcular_lote({"Idc": a, "Rdc": b}), ("«Idc»", "«Rdc»")),
], ids=["series", "dataframe", "dict"])
def test_indices_distintos_se_rechazan(llamada, nombres):
    a = pd.Series([1000.0, 2000.0], index=[0, 1])
    b = pd.Series([10.0, 12.0], index=[1, 0])
    with pytest.raises(ValueError) as e:
        llamada(a, b)
    assert all(n in str(e.value) for n in nombres) and "índices distintos" in str(e.value)


def test_columnas_mal_nombradas_como_en_zelk_calc(zelk_calc):
    for nombre in ["IDC", "idc", "Idc (A)", "Idc_A", " Idc", "Idc\u00a0", "Idc [A]", "Pr",
                   "Pr (MW)", "alpha [º]", "aceptado", "Aceptado",
                   # Invisible characters and look-alike letters: not notes, but hints.
                   "Idc\ufeff", "\u200bIdc", "\u202aIdc", "Id\u00adc", "\u0406dc", "Id\u0441",
                   "\uff29\uff44\uff43", "'Idc", "[Idc]", "Vpr\u03bfg"]:
        with pytest.raises(ValueError) as e:
            zelk.calcular_lote(pd.DataFrame({nombre: [1.0], "Rdc": [1.0]}))
        motivo = str(e.value).removeprefix("calcular_lote: ")
        if nombre.lower() != "aceptado":
            p = zelk_calc("--csv", "-", entrada=f"{nombre},Rdc\n1,1\n")
            assert p.returncode == 2 and p.stderr.strip().endswith(motivo), (nombre, p.stderr)
        assert f"«{nombre}»" in motivo
    # zelk-calc's status column is the user's own here, and carried through.
    assert zelk.calcular_lote(pd.DataFrame({"estado": ["x"], "Idc": [1.0]}))["estado"][0] == "x"


def test_sin_columna_de_datos(zelk_calc):
    p = zelk_calc("--csv", "-", entrada="caso\nA\n")
    for tabla in (pd.DataFrame(index=range(5)), pd.DataFrame({"caso": ["A", "B"]})):
        with pytest.raises(ValueError) as e:
            zelk.calcular_lote(tabla)
        assert str(e.value).removeprefix("calcular_lote: ") in p.stderr
        with pytest.raises(ValueError):
            zelk.calcular_lote(tabla, Idc=1000)
    # A column given by name is one.
    salida = zelk.calcular_lote(pd.DataFrame({"caso": ["A", "B"]}), Idc=[1000, 2000])
    assert salida.columns[:2].tolist() == ["caso", "Idc"] and len(salida) == 2


def test_tabla_sin_filas():
    salida = zelk.calcular_lote(pd.DataFrame({"caso": [], "Idc": []}))
    assert salida.shape == (0, 2 + len(zelk.RESULTADOS) + 1)


def test_serie_sin_nombre():
    with pytest.raises(ValueError) as e:
        zelk.calcular_lote(pd.Series([1000.0]))
    assert "Idc=serie" in str(e.value)


# Per function: the data given and the bytes a row of its output adds to them.
SALIDAS = {
    "calcular_lote": (list(zelk.PARAMETROS), len(zelk.RESULTADOS) * 8 + 1),
    # The chosen values and the results, aceptado, and modo and avisos as objects and codes.
    "resolver_control_lote": ([p for p in zelk.PARAMETROS if p not in ("Idc", "Vdci")],
                              (4 + len(zelk.RESULTADOS)) * 8 + 1 + 2 * 8 + 3),
}


@pytest.mark.parametrize("copiar", [True, False])
@pytest.mark.parametrize("funcion", SALIDAS)
def test_columnas_float64_sin_copias_de_mas(funcion, copiar):
    filas = 200_000
    datos, por_fila = SALIDAS[funcion]
    g = np.random.default_rng(1)
    tabla = pd.DataFrame({p: zelk.VALORES_INICIO[p] * g.uniform(0.9, 1.1, filas) for p in datos})
    antes = tabla.copy()
    tracemalloc.start()
    try:
        salida = getattr(zelk, funcion)(tabla, hilos=1, copiar=copiar)
        _, pico = tracemalloc.get_traced_memory()
    finally:
        tracemalloc.stop()
    # The output, a copy of the given columns unless told not to, and little else.
    esperado = ((len(datos) * 8 if copiar else 0) + por_fila) * filas
    assert pico < esperado * 1.1, (pico, esperado)
    columnas = {p: "tapr_inicial" if p == "tapr" and funcion != "calcular_lote" else
                "tapi_inicial" if p == "tapi" and funcion != "calcular_lote" else p for p in datos}
    for p, nombre in columnas.items():
        compartida = np.shares_memory(salida[nombre].to_numpy(), tabla[p].to_numpy())
        assert compartida == (not copiar), p
    # Shared columns are the input's own: a change to one is seen in the other, as documented.
    salida[columnas["Uacr"]].to_numpy()[0] = -1.0
    assert (tabla["Uacr"].iloc[0] == -1.0) == (not copiar)
    pd.testing.assert_frame_equal(tabla.iloc[1:], antes.iloc[1:])


def test_copiar_es_si_o_no():
    for valor in (np.bool_(False), False):
        zelk.calcular_lote(pd.DataFrame({"Idc": [1000.0]}), copiar=valor)
    for valor in ("no", 0, None):
        with pytest.raises(TypeError, match="copiar ha de ser True o False"):
            zelk.calcular_lote(pd.DataFrame({"Idc": [1000.0]}), copiar=valor)


def test_nulos_y_logicos():
    tabla = pd.DataFrame({"Idc": pd.array([1000.0, None], dtype="Float64"),
                          "Rdc": pd.array([True, False], dtype="boolean")})
    salida = zelk.calcular_lote(tabla)
    assert salida["aceptado"].tolist() == [True, False]
    assert bits(salida["Pr"][0]) == bits(zelk.calcular(Idc=1000, Rdc=1)["Pr"])
    assert str(salida["Idc"].dtype) == "Float64"
    assert zelk.calcular_lote(Rdc=[True, False])["Vdcr"].tolist() == [527.0, 525.0]
