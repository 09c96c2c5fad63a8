// The plot of a sweep in a QCustomPlot, for any window or program: panels of results against the
// swept datum, one above the other, with gaps where a result cannot be formed; a family when a
// second datum was swept. No command line here; files are written by grafico/archivo.h.
#pragma once

#include <QPointF>
#include <QString>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lote/lotes.h"

class QCustomPlot;

namespace zelk::grafico {

// Results drawn against one value axis, under a title.
struct Panel {
  std::string_view titulo;                   // "Ángulos"
  std::vector<std::string_view> resultados;  // names of results: "alpha", "Pr"
};

// zelk-calc's panels: the angles above, the powers below.
std::vector<Panel> PanelesHabituales();

// Empties `grafico` and fills it with `curvas`, a panel per entry of `paneles`, in their order from
// the top: the swept datum along x (its caption on the lowest panel's axis, the panels' x axes
// moving together), each panel's value axis titled with its units, a legend per panel, and numbers
// with the curves' decimal separator. Each result is a curve in a colour of its own, broken where
// the result could not be formed; a point alone between gaps is a mark. In a family, each value of
// the second datum has a colour and each result a dash of its own, and the legend lists both.
// The reason, and `grafico` left empty, when there is nothing to draw or a name is not a result.
std::optional<std::string> Configurar(QCustomPlot& grafico, const lotes::Curvas& curvas,
                                      std::span<const Panel> paneles);

// For a window: the swept datum's axis dragged with the mouse and zoomed with the wheel, every
// panel together, and each panel's value axis on its own.
void HacerInteractivo(QCustomPlot& grafico);

// The point of a curve nearest to `pixel` of the widget, within `radio` pixels, as a text for the
// pointer ("Idc [A] = 1500\nalpha [º] = 18,4"); empty when none is near.
std::optional<QString> ValorEn(const QCustomPlot& grafico, QPointF pixel, double radio = 8);

}  // namespace zelk::grafico
