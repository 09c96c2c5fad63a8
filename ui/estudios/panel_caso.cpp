#include "ui/estudios/panel_caso.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "lote/control_lote.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// A row of a group: the caption with its tool tip, the field, and under the field its reason.
QLabel* Fila(QGridLayout* rejilla, QWidget* campo, QLabel* motivo, std::string_view titulo,
             std::string_view ayuda) {
  const int fila = rejilla->rowCount();
  auto* etiqueta = new QLabel(Q(titulo));
  etiqueta->setToolTip(Q(ayuda));
  etiqueta->setBuddy(campo);
  campo->setToolTip(Q(ayuda));
  campo->setAccessibleName(Q(titulo));
  rejilla->addWidget(etiqueta, fila, 0);
  rejilla->addWidget(campo, fila, 1);
  rejilla->addWidget(motivo, fila + 1, 1);
  return etiqueta;
}

QGridLayout* Rejilla(QGroupBox* grupo) {
  auto* rejilla = new QGridLayout(grupo);
  rejilla->setColumnStretch(1, 1);
  rejilla->setVerticalSpacing(2);
  return rejilla;
}

}  // namespace

PanelCaso::PanelCaso(QWidget* padre) : QWidget(padre) {
  auto* columna = new QVBoxLayout(this);
  std::array<QGridLayout*, kMarcos.size()> rejillas{};
  for (std::size_t m = 0; m < kMarcos.size(); ++m) {
    auto* grupo = new QGroupBox(Q(kMarcos[m].titulo), this);
    grupo->setObjectName(Q(kMarcos[m].nombre));
    rejillas[m] = Rejilla(grupo);
    columna->addWidget(grupo);
  }
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    auto* rejilla = rejillas[static_cast<std::size_t>(p.marco)];
    auto* campo = new CampoConMotivo(rejilla->parentWidget());
    campo->setObjectName(Q(p.control));
    campo->PonerDescripcion(Q(p.ayuda));
    Fila(rejilla, campo, campo->Motivo(), p.titulo, p.ayuda);
    connect(campo, &QLineEdit::textEdited, this, [this] {
      if (!poniendo_)
        emit cambiado();
    });
    campos_[i] = campo;
  }

  grupoControl_ = new QGroupBox(Q(kGrupoControl), this);
  grupoControl_->setObjectName(QStringLiteral("fraControl"));
  grupoControl_->setCheckable(true);
  grupoControl_->setToolTip(Q(kAyudaGrupoControl));
  grupoControl_->setAccessibleDescription(Q(kAyudaGrupoControl));
  auto* rejilla = Rejilla(grupoControl_);
  for (std::size_t i = 0; i < kNumControl; ++i) {
    const auto& d = kControl[i];
    if (d.miembro == nullptr) {
      orden_ = new QComboBox(grupoControl_);
      orden_->setObjectName(QStringLiteral("cboOrden"));
      for (const auto palabra : kPalabrasOrden)
        orden_->addItem(Q(palabra));
      orden_->setAccessibleDescription(Q(d.ayuda));
      motivoOrden_ = new QLabel(grupoControl_);
      motivoOrden_->setVisible(false);
      Fila(rejilla, orden_, motivoOrden_, d.titulo, d.ayuda);
      connect(orden_, &QComboBox::activated, this, [this] {
        if (!poniendo_)
          emit cambiado();
      });
      continue;
    }
    auto* campo = new CampoConMotivo(grupoControl_);
    campo->setObjectName(QStringLiteral("txt") + Q(d.nombre));
    campo->PonerDescripcion(Q(d.ayuda));
    Fila(rejilla, campo, campo->Motivo(), d.titulo, d.ayuda);
    connect(campo, &QLineEdit::textEdited, this, [this] {
      if (!poniendo_)
        emit cambiado();
    });
    camposControl_[i] = campo;
  }
  connect(grupoControl_, &QGroupBox::toggled, this, [this] {
    if (!poniendo_)
      emit cambiado();
  });
  columna->addWidget(grupoControl_);
  columna->addStretch(1);
}

void PanelCaso::Poner(const lotes::Estudio& e) {
  poniendo_ = true;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    campos_[i]->setText(Q(e.datos[i]));
    campos_[i]->setCursorPosition(0);
  }
  grupoControl_->setChecked(e.control);
  for (std::size_t i = 0; i < kNumControl; ++i) {
    if (camposControl_[i] != nullptr) {
      camposControl_[i]->setText(Q(e.textosControl[i]));
      camposControl_[i]->setCursorPosition(0);
    } else {
      const auto orden = LeerOrden(e.textosControl[i]);
      orden_->setCurrentIndex(orden ? static_cast<int>(*orden) : 0);
    }
  }
  poniendo_ = false;
}

void PanelCaso::Leer(lotes::Estudio& e) const {
  for (std::size_t i = 0; i < kNumParametros; ++i)
    e.datos[i] = U8(campos_[i]->text());
  e.control = grupoControl_->isChecked();
  for (std::size_t i = 0; i < kNumControl; ++i)
    e.textosControl[i] =
        camposControl_[i] != nullptr
            ? U8(camposControl_[i]->text())
            : std::string(
                  kPalabrasOrden[static_cast<std::size_t>(std::max(0, orden_->currentIndex()))]);
}

void PanelCaso::Mostrar(const lotes::Estudio& e, const lotes::EvaluacionCaso& ev) {
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const bool usado = lotes::DatoUsado(e, kParametros[i]);
    campos_[i]->setEnabled(usado);
    campos_[i]->setToolTip(usado ? Q(kParametros[i].ayuda) : Q(kFijadoPorControl));
    campos_[i]->PonerMotivo(Q(ev.motivosDatos[i]));
  }
  for (std::size_t i = 0; i < kNumControl; ++i) {
    if (camposControl_[i] != nullptr) {
      camposControl_[i]->PonerMotivo(Q(ev.motivosControl[i]));
    } else {
      motivoOrden_->setText(Q(ev.motivosControl[i]));
      motivoOrden_->setVisible(!ev.motivosControl[i].empty());
    }
  }
}

}  // namespace zelk::ui::estudios
