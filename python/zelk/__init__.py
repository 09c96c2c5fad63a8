# The module is the extension _zelk; this package gives it its name, and the types its stubs
# name, so that annotations that use them also run.
import functools
from typing import (
    Any,
    Callable,
    Literal,
    Optional,
    Protocol,
    SupportsFloat,
    SupportsIndex,
    TypedDict,
    Union,
)

from . import _zelk
from ._zelk import (
    CONTROL,
    PARAMETROS,
    RESULTADOS,
    TITULOS,
    VALORES_INICIO,
    DatosRechazados,
    SinSolucion,
    TapImposible,
    __doc__,
    __version__,
)


def _funcion(de_la_extension: Callable[..., Any]) -> Callable[..., Any]:
    """The extension's function as a function of zelk: help() takes the extension's own for
    methods of an internal object. Its signature is the extension's, read by inspect."""

    @functools.wraps(de_la_extension)
    def funcion(*args: Any, **kwargs: Any) -> Any:
        return de_la_extension(*args, **kwargs)

    # The extension's qualified name ("PyCapsule.calcular") leads nowhere; pickle, and with it
    # ProcessPoolExecutor, joblib and Dask, finds a function by the one it has in zelk.
    funcion.__qualname__ = funcion.__name__
    return funcion


calcular = _funcion(_zelk.calcular)
calcular_lote = _funcion(_zelk.calcular_lote)
pasada = _funcion(_zelk.pasada)
tap_para = _funcion(_zelk.tap_para)
leer_psse = _funcion(_zelk.leer_psse)
resolver_control = _funcion(_zelk.resolver_control)
resolver_control_lote = _funcion(_zelk.resolver_control_lote)
detalle = _funcion(_zelk.detalle)
buscar = _funcion(_zelk.buscar)
buscar_lote = _funcion(_zelk.buscar_lote)

try:  # NumPy is needed for batches only
    import numpy as _np
    import numpy.typing as _npt

    Arreglo = _npt.ArrayLike
    _Flotantes = _npt.NDArray[_np.float64]
    _Logicos = _npt.NDArray[_np.bool_]
    _Objetos = _npt.NDArray[_np.object_]
except ImportError:
    Arreglo = Any  # type: ignore[misc]
    _Flotantes = _Logicos = _Objetos = Any  # type: ignore[misc]

Numero = Union[SupportsFloat, SupportsIndex]


class TablaDeDatos(Protocol):
    """Una tabla de datos que no es un DataFrame de pandas (un dict de arreglos, por ejemplo):
    sus columnas, y cada columna por su nombre."""

    @property
    def columns(self) -> Any: ...

    def __getitem__(self, clave: Any, /) -> Any: ...


class Resultados(TypedDict):
    """Los 13 resultados de calcular(), por su nombre y en su orden (RESULTADOS), en las
    unidades de la ventana; None donde la ventana muestra "ERROR"."""

    alpha: Optional[float]
    mur: Optional[float]
    tgphir: Optional[float]
    gamma: Optional[float]
    mui: Optional[float]
    tgphii: Optional[float]
    Vdcr: Optional[float]
    Iacr: Optional[float]
    Pr: Optional[float]
    Qr: Optional[float]
    Iaci: Optional[float]
    Pi: Optional[float]
    Qi: Optional[float]


class TextosResultados(TypedDict):
    """Los textos de los 13 resultados de pasada(), tal como los muestra la ventana."""

    alpha: str
    mur: str
    tgphir: str
    gamma: str
    mui: str
    tgphii: str
    Vdcr: str
    Iacr: str
    Pr: str
    Qr: str
    Iaci: str
    Pi: str
    Qi: str


class TextosDatos(TypedDict, total=False):
    """Los textos de los datos que se dan a pasada(), como se escribirían en la ventana; los que
    faltan toman los del inicio."""

    Uacr: str
    tapr: str
    Nr: str
    Idc: str
    Rcr: str
    Xcr: str
    Uaci: str
    tapi: str
    Ni: str
    Vdci: str
    Rci: str
    Xci: str
    Rdc: str
    Vdcnom: str
    Eacr_nom: str
    Eaci_nom: str
    Uacr_nom: str
    Uaci_nom: str


class ResultadosLote(TypedDict):
    """Lo que calcular_lote() devuelve con arreglos: cada resultado como un arreglo de float64
    (NaN donde la ventana muestra "ERROR" y en las filas rechazadas) y "aceptado", de bool."""

    alpha: _Flotantes
    mur: _Flotantes
    tgphir: _Flotantes
    gamma: _Flotantes
    mui: _Flotantes
    tgphii: _Flotantes
    Vdcr: _Flotantes
    Iacr: _Flotantes
    Pr: _Flotantes
    Qr: _Flotantes
    Iaci: _Flotantes
    Pi: _Flotantes
    Qi: _Flotantes
    aceptado: _Logicos


class ResultadosTap(Resultados, total=False):
    """Lo que tap_para() devuelve: el tap exacto ("tapr_exacto" o "tapi_exacto"), el elegido
    ("tapr" o "tapi") y los 13 resultados con el elegido."""

    tapr_exacto: float
    tapr: float
    tapi_exacto: float
    tapi: float


class ResultadosConMotivos(TypedDict):
    """Lo que calcular(motivos=True) devuelve: los 13 resultados (None donde la ventana muestra
    "ERROR") y "motivos", una tupla de textos de zelk-calc: por qué cada resultado es None
    ("alpha: cos α = 1.24 > 1: ...", "mur: ERROR porque alpha lo es") y los avisos de los
    límites del modelo ("aviso: mur = 64.86°: ...")."""

    alpha: Optional[float]
    mur: Optional[float]
    tgphir: Optional[float]
    gamma: Optional[float]
    mui: Optional[float]
    tgphii: Optional[float]
    Vdcr: Optional[float]
    Iacr: Optional[float]
    Pr: Optional[float]
    Qr: Optional[float]
    Iaci: Optional[float]
    Pi: Optional[float]
    Qi: Optional[float]
    motivos: tuple[str, ...]


class Detalle(TypedDict):
    """Lo que detalle() devuelve, por extremo (r, rectificador; i, inversor): E del lado de
    válvulas, Vd0 de los puentes en serie, las caídas N·(3/π)·Xc·Idc y N·2·Rc·Idc, en kV; el
    coseno del ángulo (que pasa de 1 cuando el ángulo no se puede formar) y el solape, en
    grados. None donde no se puede formar."""

    Er: Optional[float]
    Vd0r: Optional[float]
    caidaXr: Optional[float]
    caidaRr: Optional[float]
    cos_alpha: Optional[float]
    mur: Optional[float]
    Ei: Optional[float]
    Vd0i: Optional[float]
    caidaXi: Optional[float]
    caidaRi: Optional[float]
    cos_gamma: Optional[float]
    mui: Optional[float]


# The same type as the stubs' Literal["bloqueado", "potencia", "corriente"], which type checkers
# take for this union, and so does stubtest.
Orden = Union[Literal["bloqueado"], Literal["potencia"], Literal["corriente"]]


class SolucionControl(TypedDict):
    """Lo que resolver_control() devuelve: el modo (qué extremo controla la corriente), los
    taps, la corriente y la tensión del inversor elegidos, los 13 resultados en ese punto (None
    donde la ventana muestra "ERROR") y los avisos, una tupla de textos."""

    modo: str
    tapr: float
    tapi: float
    Idc: float
    Vdci: float
    alpha: Optional[float]
    mur: Optional[float]
    tgphir: Optional[float]
    gamma: Optional[float]
    mui: Optional[float]
    tgphii: Optional[float]
    Vdcr: Optional[float]
    Iacr: Optional[float]
    Pr: Optional[float]
    Qr: Optional[float]
    Iaci: Optional[float]
    Pi: Optional[float]
    Qi: Optional[float]
    avisos: tuple[str, ...]


class SolucionControlConMotivos(TypedDict):
    """Lo que resolver_control(motivos=True) devuelve: lo de SolucionControl y "motivos", los
    textos de calcular(motivos=True) en el punto hallado."""

    modo: str
    tapr: float
    tapi: float
    Idc: float
    Vdci: float
    alpha: Optional[float]
    mur: Optional[float]
    tgphir: Optional[float]
    gamma: Optional[float]
    mui: Optional[float]
    tgphii: Optional[float]
    Vdcr: Optional[float]
    Iacr: Optional[float]
    Pr: Optional[float]
    Qr: Optional[float]
    Iaci: Optional[float]
    Pi: Optional[float]
    Qi: Optional[float]
    avisos: tuple[str, ...]
    motivos: tuple[str, ...]


class SolucionControlLote(TypedDict):
    """Lo que resolver_control_lote() devuelve con arreglos: lo mismo que resolver_control(),
    una fila por enlace (modo None y NaN en las filas rechazadas), y "aceptado"."""

    modo: _Objetos
    tapr: _Flotantes
    tapi: _Flotantes
    Idc: _Flotantes
    Vdci: _Flotantes
    alpha: _Flotantes
    mur: _Flotantes
    tgphir: _Flotantes
    gamma: _Flotantes
    mui: _Flotantes
    tgphii: _Flotantes
    Vdcr: _Flotantes
    Iacr: _Flotantes
    Pr: _Flotantes
    Qr: _Flotantes
    Iaci: _Flotantes
    Pi: _Flotantes
    Qi: _Flotantes
    avisos: _Objetos
    aceptado: _Logicos


__all__ = [
    "CONTROL",
    "PARAMETROS",
    "RESULTADOS",
    "TITULOS",
    "VALORES_INICIO",
    "Arreglo",
    "DatosRechazados",
    "Detalle",
    "Numero",
    "Orden",
    "Resultados",
    "ResultadosLote",
    "ResultadosConMotivos",
    "ResultadosTap",
    "SinSolucion",
    "SolucionControl",
    "SolucionControlConMotivos",
    "SolucionControlLote",
    "TablaDeDatos",
    "TapImposible",
    "TextosDatos",
    "TextosResultados",
    "buscar",
    "buscar_lote",
    "calcular",
    "calcular_lote",
    "detalle",
    "leer_psse",
    "pasada",
    "resolver_control",
    "resolver_control_lote",
    "tap_para",
]
