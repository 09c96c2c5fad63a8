# El módulo zelk con NumPy, pandas y matplotlib: un punto, un barrido de la corriente y los casos de
# una hoja de cálculo española, calculados y escritos de vuelta con sus nombres.
import numpy as np
import pandas as pd
import zelk

print(zelk.calcular(Idc=1000)["Vdcr"])                          # 537.0
print(zelk.pasada({"Idc": "1.000"}, locale="es_ES")["Iacr"])    # 686,13

# Un barrido de la corriente continua, con 10 ohm de línea
idc = np.linspace(500, 3000, 26)
r = zelk.calcular_lote(Idc=idc, Rdc=10)
tabla = pd.DataFrame({"Idc": idc, **r})
print(tabla[["Idc", "alpha", "mur", "Pr", "Qr"]].round(2).head())

# Casos de una hoja de cálculo española («;» entre campos, coma decimal, «.» entre miles),
# calculados y escritos de vuelta con sus nombres
with open("casos.csv", "w", encoding="utf-8") as f:
    f.write("caso;Idc;Rdc;nota\nbase;2.000;12;\nnoche;1.000;12;carga baja\nlarga;2.000;15,5;\n")
casos = pd.read_csv("casos.csv", sep=";", decimal=",", thousands=".", index_col="caso")
resultados = zelk.calcular_lote(casos)
resultados.to_csv("resultados.csv", sep=";", decimal=",")
print(resultados.loc["noche", "Pr"])                             # 537.0

# matplotlib no lo instalan los guiones: sudo apt-get install python3-matplotlib
import matplotlib.pyplot as plt

fig, eje = plt.subplots()
eje.plot(idc, r["alpha"], label=zelk.TITULOS["alpha"])
eje.set_xlabel(zelk.TITULOS["Idc"])
eje.set_ylabel(zelk.TITULOS["alpha"])
eje_q = eje.twinx()
eje_q.plot(idc, r["Qr"], color="tab:red", label=zelk.TITULOS["Qr"])
eje_q.set_ylabel(zelk.TITULOS["Qr"])
fig.savefig("barrido_idc.png")
