#include "ui/estudios/panel_resultados.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/comun/texto_qt.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The results of each end, as the calculator places them on either side of its schematic.
constexpr std::array<std::string_view, 7> kDelRectificador{"alpha", "mur", "tgphir", "Vdcr",
                                                           "Iacr",  "Pr",  "Qr"};
constexpr std::array<std::string_view, 6> kDelInversor{"gamma", "mui", "tgphii",
                                                       "Iaci",  "Pi",  "Qi"};

QLineEdit* Lectura(QWidget* padre, QGridLayout* rejilla, std::string_view titulo,
                   std::string_view ayuda, QLineEdit* campo = nullptr) {
  if (campo == nullptr)
    campo = new QLineEdit(padre);
  campo->setReadOnly(true);
  campo->setAlignment(Qt::AlignRight);
  campo->setMinimumWidth(campo->fontMetrics().horizontalAdvance(QStringLiteral("-00000000,000")));
  campo->setAccessibleName(Q(titulo));
  auto* etiqueta = new QLabel(Q(titulo), padre);
  etiqueta->setBuddy(campo);
  if (!ayuda.empty()) {
    etiqueta->setToolTip(Q(ayuda));
    campo->setToolTip(Q(ayuda));
  }
  const int fila = rejilla->rowCount();
  rejilla->addWidget(etiqueta, fila, 0);
  rejilla->addWidget(campo, fila, 1);
  return campo;
}

}  // namespace

PanelResultados::PanelResultados(QWidget* padre) : QWidget(padre) {
  auto* columna = new QVBoxLayout(this);
  motivo_ = new QLabel(this);
  motivo_->setObjectName(QStringLiteral("lblMotivo"));
  motivo_->setWordWrap(true);
  motivo_->setTextFormat(Qt::PlainText);
  motivo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  motivo_->setVisible(false);
  columna->addWidget(motivo_);

  auto* extremos = new QHBoxLayout;
  for (const auto& [titulo, nombres] :
       {std::pair{kResultadosRectificador, std::span<const std::string_view>(kDelRectificador)},
        std::pair{kResultadosInversor, std::span<const std::string_view>(kDelInversor)}}) {
    auto* grupo = new QGroupBox(Q(titulo), this);
    auto* rejilla = new QGridLayout(grupo);
    rejilla->setColumnStretch(1, 1);
    rejilla->setVerticalSpacing(2);
    for (const auto nombre : nombres) {
      const auto* d = BuscarResultado(nombre);
      const std::size_t i = Indice(d->campo) - kNumParametros;
      auto* campo = new CampoConMotivo(grupo);
      campo->setObjectName(Q(d->control));
      campo->PonerDescripcion(Q(d->ayuda));
      Lectura(grupo, rejilla, d->titulo, d->ayuda, campo);
      rejilla->addWidget(campo->Motivo(), rejilla->rowCount(), 1);
      resultados_[i] = campo;
    }
    rejilla->setRowStretch(rejilla->rowCount(), 1);
    extremos->addWidget(grupo);
  }
  // Figures are read best near their captions: the groups keep a reasonable width.
  extremos->addStretch(1);
  columna->addLayout(extremos);

  control_ = new QGroupBox(Q(kTituloElegidos), this);
  control_->setObjectName(QStringLiteral("fraElegidos"));
  auto* rejilla = new QGridLayout(control_);
  rejilla->setColumnStretch(1, 1);
  modo_ = Lectura(control_, rejilla, kTituloModo, {});
  modo_->setObjectName(QStringLiteral("txtModo"));
  modo_->setAlignment(Qt::AlignLeft);
  for (std::size_t e = 0; e < kElegidos.size(); ++e) {
    const auto* p = BuscarParametro(kElegidos[e].nombre);
    elegidos_[e] = Lectura(control_, rejilla, p->titulo, p->ayuda);
    elegidos_[e]->setObjectName(QStringLiteral("txtElegido") + Q(p->nombre));
  }
  // The warnings of the controls and of the model, whichever pass ran.
  auto* grupoAvisos = new QGroupBox(Q(kTituloAvisos), this);
  grupoAvisos->setObjectName(QStringLiteral("fraAvisos"));
  auto* lista = new QVBoxLayout(grupoAvisos);
  avisos_ = new QLabel(grupoAvisos);
  avisos_->setObjectName(QStringLiteral("lblAvisos"));
  avisos_->setWordWrap(true);
  avisos_->setTextFormat(Qt::PlainText);
  avisos_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  avisos_->setAccessibleName(Q(kTituloAvisos));
  lista->addWidget(avisos_);
  auto* abajo = new QHBoxLayout;
  abajo->addWidget(control_, 2);
  abajo->addStretch(1);
  columna->addLayout(abajo);
  columna->addWidget(grupoAvisos);
  columna->addStretch(1);
}

void PanelResultados::Mostrar(const lotes::EvaluacionCaso& ev, const ConfiguracionRegional& r) {
  const bool hay = ev.datos.has_value();
  motivo_->setVisible(!hay);
  motivo_->setText(hay ? QString() : Q(kSinResultados) + QStringLiteral(": ") + Q(ev.motivo));
  QPalette paleta;
  if (!hay)
    paleta.setColor(QPalette::WindowText, CampoConMotivo::ColorDeMotivo(palette()));
  motivo_->setPalette(paleta);
  for (std::size_t i = 0; i < kNumResultados; ++i) {
    const auto& d = kResultados[i];
    resultados_[i]->setText(hay ? Q(TextoResultado(ev.resultados.*d.miembro, d, r)) : QString());
    resultados_[i]->setCursorPosition(0);
    // Why it is ERROR, under it: the reason without the result's name it opens with.
    std::string_view porQue = lotes::MotivoDeResultado(ev, d);
    if (!porQue.empty())
      porQue.remove_prefix(std::min(porQue.size(), d.nombre.size() + 2));
    resultados_[i]->PonerMotivo(Q(porQue));
  }
  control_->setVisible(ev.solucion.has_value());
  const auto* s = ev.solucion ? &*ev.solucion : nullptr;
  modo_->setText(s != nullptr ? Q(TextoModo(s->modo)) : QString());
  for (std::size_t e = 0; e < kElegidos.size(); ++e) {
    elegidos_[e]->setText(s != nullptr ? Q(TextoElegido(kElegidos[e], s->datos, r)) : QString());
    elegidos_[e]->setCursorPosition(0);
  }
  QStringList avisos;
  if (s != nullptr)
    for (std::size_t a = 0; a < kNumAvisos; ++a)
      if (Tiene(s->avisos, static_cast<Aviso>(a)))
        avisos << QStringLiteral("• ") + Q(TextoAviso(static_cast<Aviso>(a)));
  for (const auto& a : ev.avisosModelo)
    avisos << QStringLiteral("• ") + Q(a);
  avisos_->setText(avisos.isEmpty() ? Q(kSinAvisos) : avisos.join(u'\n'));
}

}  // namespace zelk::ui::estudios
