# The module is the extension _zelk; this package gives it its name and its type stubs.
from ._zelk import (
    PARAMETROS,
    RESULTADOS,
    TITULOS,
    VALORES_INICIO,
    DatosRechazados,
    TapImposible,
    __doc__,
    __version__,
    calcular,
    calcular_lote,
    pasada,
    tap_para,
)

__all__ = [
    "PARAMETROS",
    "RESULTADOS",
    "TITULOS",
    "VALORES_INICIO",
    "DatosRechazados",
    "TapImposible",
    "calcular",
    "calcular_lote",
    "pasada",
    "tap_para",
]
