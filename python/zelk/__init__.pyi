# Types of the module zelk, for editors and type checkers. Every name here is importable from
# zelk at run time as well.
import os
from typing import (
    Any,
    Literal,
    Mapping,
    Optional,
    Protocol,
    Sequence,
    SupportsFloat,
    SupportsIndex,
    TypedDict,
    Union,
    overload,
)

import numpy as np
import numpy.typing as npt
import pandas as pd  # type: ignore[import]  # pandas 1.5 has no types of its own

__version__: str
PARAMETROS: tuple[str, ...]
RESULTADOS: tuple[str, ...]
VALORES_INICIO: dict[str, float]
TITULOS: dict[str, str]
CONTROL: dict[str, Union[float, str]]

class DatosRechazados(ValueError):
    parametro: Optional[str]
    valor: Union[float, str, None]

class TapImposible(ValueError): ...

class SinSolucion(ValueError):
    minimo: Optional[float]
    maximo: Optional[float]

Numero = Union[SupportsFloat, SupportsIndex]
Arreglo = npt.ArrayLike
# What calcular_lote answers with a dict of arrays: anything but pandas' Series.
_SinIndice = Union[npt.NDArray[Any], Sequence[Union[float, None]], float, np.number[Any], np.bool_]
_Flotantes = npt.NDArray[np.float64]
_Logicos = npt.NDArray[np.bool_]

class TablaDeDatos(Protocol):
    @property
    def columns(self) -> Any: ...
    def __getitem__(self, clave: Any, /) -> Any: ...

class Resultados(TypedDict):
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
    tapr_exacto: float
    tapr: float
    tapi_exacto: float
    tapi: float

class ResultadosConMotivos(TypedDict):
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

@overload
def calcular(
    *,
    motivos: Literal[False] = False,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Idc: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Vdci: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
) -> Resultados: ...
@overload
def calcular(
    *,
    motivos: Literal[True],
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Idc: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Vdci: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
) -> ResultadosConMotivos: ...
@overload
def calcular(
    *,
    motivos: bool,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Idc: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Vdci: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
) -> Union[Resultados, ResultadosConMotivos]: ...
def pasada(
    textos: Optional[Union[TextosDatos, Mapping[str, str]]] = None, locale: Optional[str] = None
) -> TextosResultados: ...

# A DataFrame or a Series in gives a DataFrame with the same index out.
@overload
def calcular_lote(
    __datos: Union[pd.DataFrame, pd.Series],
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: Arreglo = ...,
    tapr: Arreglo = ...,
    Nr: Arreglo = ...,
    Idc: Arreglo = ...,
    Rcr: Arreglo = ...,
    Xcr: Arreglo = ...,
    Uaci: Arreglo = ...,
    tapi: Arreglo = ...,
    Ni: Arreglo = ...,
    Vdci: Arreglo = ...,
    Rci: Arreglo = ...,
    Xci: Arreglo = ...,
    Rdc: Arreglo = ...,
    Vdcnom: Arreglo = ...,
    Eacr_nom: Arreglo = ...,
    Eaci_nom: Arreglo = ...,
    Uacr_nom: Arreglo = ...,
    Uaci_nom: Arreglo = ...,
) -> pd.DataFrame: ...
@overload
def calcular_lote(
    __datos: Union[Mapping[str, _SinIndice], TablaDeDatos, None] = None,
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: _SinIndice = ...,
    tapr: _SinIndice = ...,
    Nr: _SinIndice = ...,
    Idc: _SinIndice = ...,
    Rcr: _SinIndice = ...,
    Xcr: _SinIndice = ...,
    Uaci: _SinIndice = ...,
    tapi: _SinIndice = ...,
    Ni: _SinIndice = ...,
    Vdci: _SinIndice = ...,
    Rci: _SinIndice = ...,
    Xci: _SinIndice = ...,
    Rdc: _SinIndice = ...,
    Vdcnom: _SinIndice = ...,
    Eacr_nom: _SinIndice = ...,
    Eaci_nom: _SinIndice = ...,
    Uacr_nom: _SinIndice = ...,
    Uaci_nom: _SinIndice = ...,
) -> ResultadosLote: ...
@overload
def calcular_lote(
    __datos: Optional[Mapping[str, Arreglo]] = None,
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: Arreglo = ...,
    tapr: Arreglo = ...,
    Nr: Arreglo = ...,
    Idc: Arreglo = ...,
    Rcr: Arreglo = ...,
    Xcr: Arreglo = ...,
    Uaci: Arreglo = ...,
    tapi: Arreglo = ...,
    Ni: Arreglo = ...,
    Vdci: Arreglo = ...,
    Rci: Arreglo = ...,
    Xci: Arreglo = ...,
    Rdc: Arreglo = ...,
    Vdcnom: Arreglo = ...,
    Eacr_nom: Arreglo = ...,
    Eaci_nom: Arreglo = ...,
    Uacr_nom: Arreglo = ...,
    Uaci_nom: Arreglo = ...,
) -> pd.DataFrame: ...
def tap_para(
    angulo: Literal["alpha", "gamma"] = "alpha",
    grados: Numero = 15.0,
    *,
    paso: Optional[Numero] = None,
    margen: Optional[tuple[Numero, Numero]] = None,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Idc: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Vdci: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
) -> ResultadosTap: ...


# Under control data: the order's words, and the solution of one link and of many.
Orden = Literal["bloqueado", "potencia", "corriente"]
_Ordenes = Union[Orden, Sequence[Optional[str]], npt.NDArray[Any]]

class SolucionControl(TypedDict):
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
    modo: npt.NDArray[np.object_]
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
    avisos: npt.NDArray[np.object_]
    aceptado: _Logicos

@overload
def resolver_control(
    *,
    motivos: Literal[False] = False,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
    orden: Orden = ...,
    consigna: Numero = ...,
    Vprog: Numero = ...,
    Rcomp: Numero = ...,
    margen: Numero = ...,
    Vcmod: Numero = ...,
    alpha_min: Numero = ...,
    alpha_max: Numero = ...,
    gamma_min: Numero = ...,
    gamma_max: Numero = ...,
    tapr_min: Numero = ...,
    tapr_max: Numero = ...,
    tapr_paso: Numero = ...,
    tapi_min: Numero = ...,
    tapi_max: Numero = ...,
    tapi_paso: Numero = ...,
) -> SolucionControl: ...
@overload
def resolver_control(
    *,
    motivos: Literal[True],
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
    orden: Orden = ...,
    consigna: Numero = ...,
    Vprog: Numero = ...,
    Rcomp: Numero = ...,
    margen: Numero = ...,
    Vcmod: Numero = ...,
    alpha_min: Numero = ...,
    alpha_max: Numero = ...,
    gamma_min: Numero = ...,
    gamma_max: Numero = ...,
    tapr_min: Numero = ...,
    tapr_max: Numero = ...,
    tapr_paso: Numero = ...,
    tapi_min: Numero = ...,
    tapi_max: Numero = ...,
    tapi_paso: Numero = ...,
) -> SolucionControlConMotivos: ...
@overload
def resolver_control(
    *,
    motivos: bool,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
    orden: Orden = ...,
    consigna: Numero = ...,
    Vprog: Numero = ...,
    Rcomp: Numero = ...,
    margen: Numero = ...,
    Vcmod: Numero = ...,
    alpha_min: Numero = ...,
    alpha_max: Numero = ...,
    gamma_min: Numero = ...,
    gamma_max: Numero = ...,
    tapr_min: Numero = ...,
    tapr_max: Numero = ...,
    tapr_paso: Numero = ...,
    tapi_min: Numero = ...,
    tapi_max: Numero = ...,
    tapi_paso: Numero = ...,
) -> Union[SolucionControl, SolucionControlConMotivos]: ...

# As calcular_lote: a DataFrame or a Series in gives a DataFrame with the same index out.
@overload
def resolver_control_lote(
    __datos: Union[pd.DataFrame, pd.Series],
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: Arreglo = ...,
    tapr: Arreglo = ...,
    Nr: Arreglo = ...,
    Rcr: Arreglo = ...,
    Xcr: Arreglo = ...,
    Uaci: Arreglo = ...,
    tapi: Arreglo = ...,
    Ni: Arreglo = ...,
    Rci: Arreglo = ...,
    Xci: Arreglo = ...,
    Rdc: Arreglo = ...,
    Vdcnom: Arreglo = ...,
    Eacr_nom: Arreglo = ...,
    Eaci_nom: Arreglo = ...,
    Uacr_nom: Arreglo = ...,
    Uaci_nom: Arreglo = ...,
    orden: Union[Orden, Arreglo] = ...,
    consigna: Arreglo = ...,
    Vprog: Arreglo = ...,
    Rcomp: Arreglo = ...,
    margen: Arreglo = ...,
    Vcmod: Arreglo = ...,
    alpha_min: Arreglo = ...,
    alpha_max: Arreglo = ...,
    gamma_min: Arreglo = ...,
    gamma_max: Arreglo = ...,
    tapr_min: Arreglo = ...,
    tapr_max: Arreglo = ...,
    tapr_paso: Arreglo = ...,
    tapi_min: Arreglo = ...,
    tapi_max: Arreglo = ...,
    tapi_paso: Arreglo = ...,
) -> pd.DataFrame: ...
@overload
def resolver_control_lote(
    __datos: Union[Mapping[str, Union[_SinIndice, _Ordenes]], TablaDeDatos, None] = None,
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: _SinIndice = ...,
    tapr: _SinIndice = ...,
    Nr: _SinIndice = ...,
    Rcr: _SinIndice = ...,
    Xcr: _SinIndice = ...,
    Uaci: _SinIndice = ...,
    tapi: _SinIndice = ...,
    Ni: _SinIndice = ...,
    Rci: _SinIndice = ...,
    Xci: _SinIndice = ...,
    Rdc: _SinIndice = ...,
    Vdcnom: _SinIndice = ...,
    Eacr_nom: _SinIndice = ...,
    Eaci_nom: _SinIndice = ...,
    Uacr_nom: _SinIndice = ...,
    Uaci_nom: _SinIndice = ...,
    orden: _Ordenes = ...,
    consigna: _SinIndice = ...,
    Vprog: _SinIndice = ...,
    Rcomp: _SinIndice = ...,
    margen: _SinIndice = ...,
    Vcmod: _SinIndice = ...,
    alpha_min: _SinIndice = ...,
    alpha_max: _SinIndice = ...,
    gamma_min: _SinIndice = ...,
    gamma_max: _SinIndice = ...,
    tapr_min: _SinIndice = ...,
    tapr_max: _SinIndice = ...,
    tapr_paso: _SinIndice = ...,
    tapi_min: _SinIndice = ...,
    tapi_max: _SinIndice = ...,
    tapi_paso: _SinIndice = ...,
) -> SolucionControlLote: ...
@overload
def resolver_control_lote(
    __datos: Optional[Mapping[str, Arreglo]] = None,
    *,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    Uacr: Arreglo = ...,
    tapr: Arreglo = ...,
    Nr: Arreglo = ...,
    Rcr: Arreglo = ...,
    Xcr: Arreglo = ...,
    Uaci: Arreglo = ...,
    tapi: Arreglo = ...,
    Ni: Arreglo = ...,
    Rci: Arreglo = ...,
    Xci: Arreglo = ...,
    Rdc: Arreglo = ...,
    Vdcnom: Arreglo = ...,
    Eacr_nom: Arreglo = ...,
    Eaci_nom: Arreglo = ...,
    Uacr_nom: Arreglo = ...,
    Uaci_nom: Arreglo = ...,
    orden: Union[Orden, Arreglo] = ...,
    consigna: Arreglo = ...,
    Vprog: Arreglo = ...,
    Rcomp: Arreglo = ...,
    margen: Arreglo = ...,
    Vcmod: Arreglo = ...,
    alpha_min: Arreglo = ...,
    alpha_max: Arreglo = ...,
    gamma_min: Arreglo = ...,
    gamma_max: Arreglo = ...,
    tapr_min: Arreglo = ...,
    tapr_max: Arreglo = ...,
    tapr_paso: Arreglo = ...,
    tapi_min: Arreglo = ...,
    tapi_max: Arreglo = ...,
    tapi_paso: Arreglo = ...,
) -> pd.DataFrame: ...
def leer_psse(archivo: Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]) -> pd.DataFrame: ...

# What lies between data and results, and targets: one link and many.
def detalle(
    *,
    Uacr: Numero = ...,
    tapr: Numero = ...,
    Nr: Numero = ...,
    Idc: Numero = ...,
    Rcr: Numero = ...,
    Xcr: Numero = ...,
    Uaci: Numero = ...,
    tapi: Numero = ...,
    Ni: Numero = ...,
    Vdci: Numero = ...,
    Rci: Numero = ...,
    Xci: Numero = ...,
    Rdc: Numero = ...,
    Vdcnom: Numero = ...,
    Eacr_nom: Numero = ...,
    Eaci_nom: Numero = ...,
    Uacr_nom: Numero = ...,
    Uaci_nom: Numero = ...,
) -> Detalle: ...
def buscar(
    resultado: str,
    valor: Numero,
    dato: str,
    *,
    margen: Optional[tuple[Numero, Numero]] = None,
    **datos: Union[Numero, Orden],
) -> list[dict[str, Any]]: ...
@overload
def buscar_lote(
    __resultado: str,
    __valor: Numero,
    __dato: str,
    __datos: Union[pd.DataFrame, pd.Series],
    *,
    margen: Optional[tuple[Numero, Numero]] = None,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    **arreglos: Union[Arreglo, Orden],
) -> pd.DataFrame: ...
@overload
def buscar_lote(
    __resultado: str,
    __valor: Numero,
    __dato: str,
    __datos: Union[Mapping[str, Any], TablaDeDatos, None] = None,
    *,
    margen: Optional[tuple[Numero, Numero]] = None,
    hilos: Optional[SupportsIndex] = None,
    copiar: bool = True,
    motivos: bool = False,
    **arreglos: Union[Arreglo, Orden],
) -> Any: ...
