# zelk.pasada: the texts of the result fields as the window shows them, under regional settings.
import subprocess
import sys
import warnings

import pytest

import zelk
from conftest import EJEMPLOS, entorno_de_python

# The decimal separator of each country; no result is written with a group separator.
DECIMAL = {"en_US": ".", "es_ES": ",", "fr_FR": ","}


@pytest.mark.parametrize("locale", sorted(DECIMAL))
@pytest.mark.parametrize("nombre, textos, figuras", EJEMPLOS, ids=[e[0] for e in EJEMPLOS])
def test_ejemplos_con_los_textos_de_la_ventana(locale, nombre, textos, figuras):
    d = DECIMAL[locale]
    escritos = {k: v.replace(".", d) for k, v in textos.items()}
    r = zelk.pasada(escritos, locale=locale)
    assert list(r) == list(zelk.RESULTADOS)
    for resultado, figura in figuras.items():
        assert r[resultado] == figura.replace(".", d), resultado


def test_inicio_bajo_cada_configuracion():
    # "3.88" of the start-up is read with each country's separator.
    assert zelk.pasada(locale="es_ES")["alpha"] == "18,40"
    assert zelk.pasada({}, locale="fr_FR")["Qr"] == "452,4"
    assert zelk.pasada(None, "en_US")["tgphir"] == "0.412"
    assert zelk.pasada(locale="es_ES.UTF-8")["Iacr"] == "1372,27"
    assert zelk.pasada(locale="C")["Iacr"] == "1372.27"


@pytest.mark.parametrize("locale, textos, figura", [
    ("en_US", {"Idc": "1,000"}, "686.13"),
    ("es_ES", {"Idc": "1.000"}, "686,13"),
    ("fr_FR", {"Idc": "1\u202f000"}, "686,13"),
    ("fr_FR", {"Idc": "1 000"}, "686,13"),
    ("en_US", {"Xcr": "3,88", "Idc": "1000"}, "686.13"),
])
@pytest.mark.filterwarnings("ignore:pasada. aviso")
def test_separadores_de_grupo(locale, textos, figura):
    assert zelk.pasada(textos, locale=locale)["Iacr"] == figura


@pytest.mark.parametrize("locale, textos, avisos", [
    ("es_ES", {"Idc": "2.500E+03"}, ["pasada: aviso: Idc: «2.500E+03» se lee 2500000"]),
    ("en_US", {"Xcr": "3,88", "Idc": "1,000"}, ["pasada: aviso: Xcr: «3,88» se lee 388"]),
    ("es_ES", {"Idc": "1.000", "Rdc": "2,5E+01"}, []),
], ids=["exponente_con_grupo", "grupo_mal_puesto", "bien_escritos"])
def test_lectura_dudosa_avisa(locale, textos, avisos):
    # The window's reading stays, with zelk-calc's warning.
    with warnings.catch_warnings(record=True) as dados:
        warnings.simplefilter("always")
        zelk.pasada(textos, locale=locale)
    assert [str(a.message) for a in dados] == avisos
    assert all(a.category is UserWarning for a in dados)


def test_lo_escrito_con_coma_se_lee_como_lo_lee_la_ventana():
    # Under a full stop, "3,88" is 388: the firing angle cannot be formed.
    with pytest.warns(UserWarning, match="«3,88» se lee 388"):
        assert zelk.pasada({"Xcr": "3,88"}, locale="en_US")["alpha"] == "ERROR"
    assert zelk.pasada({"Xcr": "3,88"}, locale="es_ES")["alpha"] == "18,40"


@pytest.mark.parametrize("entorno, alpha", [
    ({"LC_ALL": "C.UTF-8"}, "18.40"),
    ({"LANG": "es_ES.UTF-8"}, "18,40"),
    ({"LANG": "fr_FR.UTF-8"}, "18,40"),
    ({"LANG": "en_US.UTF-8", "LC_NUMERIC": "es_ES.UTF-8"}, "18,40"),
    ({"LC_ALL": "en_US.UTF-8", "LC_NUMERIC": "es_ES.UTF-8"}, "18.40"),
], ids=["C", "LANG_es", "LANG_fr", "LC_NUMERIC_manda", "LC_ALL_manda"])
def test_sin_locale_la_del_proceso(entorno, alpha):
    codigo = "import zelk; print(zelk.pasada()['alpha'])"
    p = subprocess.run([sys.executable, "-c", codigo], capture_output=True, text=True,
                       env=entorno_de_python(**entorno),
                       check=False, timeout=60)
    assert p.returncode == 0, p.stderr
    assert p.stdout.strip() == alpha


RECHAZADOS = [
    ("Nr_vacio", {"Nr": ""}, "«Nr» = «» no es un número"),
    ("Xci_letras", {"Xci": "abc"}, "«Xci» = «abc» no es un número"),
    ("tapr_cero", {"tapr": "0"}, "«tapr» = «0» no puede valer 0"),
    ("Eacr_nom_cero", {"Eacr_nom": "0,0"}, "«Eacr_nom» = «0,0» no puede valer 0"),
    ("Nr_letras_y_Uaci_nom_cero", {"Uaci_nom": "0", "Nr": "x"},
     "«Nr» = «x» no es un número; «Uaci_nom» = «0» no puede valer 0"),
    ("fuera_de_rango", {"Uacr": "1e999"}, "«Uacr» = «1e999» no es un número"),
    ("nulo_dentro", {"Uacr": "5\x000"}, "«Uacr» = «5\x000» no es un número"),
    ("texto_enorme", {"Idc": "1" * 2_000_000 + "x"}, "«Idc» = «" + "1" * 2_000_000 + "x» no es"),
]


@pytest.mark.parametrize("nombre, textos, motivo", RECHAZADOS, ids=[r[0] for r in RECHAZADOS])
@pytest.mark.filterwarnings("ignore:pasada. aviso")
def test_datos_rechazados_dicen_cual_y_por_que(nombre, textos, motivo):
    with pytest.raises(zelk.DatosRechazados) as e:
        zelk.pasada(textos, locale="en_US")
    assert str(e.value).startswith(motivo)
    # The first datum at fault, with the text it was given.
    assert e.value.parametro == motivo[1:motivo.index("»")]
    assert e.value.valor == textos[e.value.parametro]


def test_no_se_rechaza_lo_que_la_ventana_acepta():
    r = zelk.pasada({"Idc": "0", "Rcr": "0", "Rdc": "0", "Nr": "-2"}, locale="en_US")
    assert r["Pr"] == "0.0"


@pytest.mark.parametrize("llamada, error", [
    (lambda: zelk.pasada({"IDC": "1000"}), ValueError),
    (lambda: zelk.pasada({1: "1000"}), ValueError),
    (lambda: zelk.pasada({"Idc": 1000}), TypeError),
    (lambda: zelk.pasada({"Idc": None}), TypeError),
    (lambda: zelk.pasada({"Idc": "\ud800"}), UnicodeEncodeError),
    (lambda: zelk.pasada("Idc=1000"), ValueError),
    (lambda: zelk.pasada(locale="xx_YY"), ValueError),
    (lambda: zelk.pasada(locale=""), ValueError),
    (lambda: zelk.pasada(locale=3), TypeError),
], ids=["nombre", "clave_no_texto", "numero", "none", "surrogado", "cadena", "locale_desconocido",
        "locale_vacio", "locale_no_texto"])
def test_argumentos_erroneos(llamada, error):
    with pytest.raises(error):
        llamada()


def test_pares_como_textos():
    assert zelk.pasada([("Idc", "1000")], "en_US")["Vdcr"] == "537"


def test_sin_numpy_solo_faltan_los_lotes():
    # NumPy is only recommended by the package: without it the module still imports and
    # computes single points.
    codigo = (
        "import sys\n"
        "sys.modules['numpy'] = None\n"
        "import zelk\n"
        "print(zelk.calcular(Idc=1000)['Vdcr'], zelk.pasada(locale='en_US')['alpha'])\n"
        "try:\n"
        "    zelk.calcular_lote(Idc=[1000])\n"
        "except ImportError:\n"
        "    print('sin lotes')\n")
    p = subprocess.run([sys.executable, "-c", codigo], capture_output=True, text=True,
                       env=entorno_de_python(),
                       check=False, timeout=60)
    assert p.returncode == 0, p.stderr
    assert p.stdout.split("\n")[:2] == ["537.0 18.40", "sin lotes"]
