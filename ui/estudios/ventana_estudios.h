// The window of zelk Estudios: the case on the left, its results, its sweep and a PSS/E case in
// tabs on the right; the study kept in a file of its own, with the recent ones in the menu and a
// question before a changed study is closed.
#pragma once

#include <QMainWindow>
#include <memory>

#include "engine/texto_numero.h"
#include "lote/caso_estudio.h"
#include "lote/estudio.h"

class QAction;
class QMenu;
class QScrollArea;
class QSplitter;
class QTabWidget;

namespace zelk::ui::estudios {

class DialogoBuscar;
class Dialogos;
class PanelBarrido;
class PanelCaso;
class PanelPsse;
class PanelResultados;

class VentanaEstudios final : public QMainWindow {
  Q_OBJECT

 public:
  // `dialogos` must outlive the window.
  VentanaEstudios(ConfiguracionRegional regional, Dialogos& dialogos, QWidget* padre = nullptr);
  ~VentanaEstudios() override;

  // The file, a study or a PSS/E case, as the document; false, with the user told why, when it
  // cannot be opened (the document then stays as it was).
  bool AbrirArchivo(const QString& ruta);

  // The menu's actions.
  void Nuevo();
  void Abrir();
  bool Guardar();
  bool GuardarComo();
  void ExportarTabla();
  void ExportarGrafico();
  void CopiarResultados();
  void ValoresDelInicio();
  void AbrirManual();
  void AcercaDe();
  // "Buscar…", made the first time it is asked for.
  DialogoBuscar* Buscar();

  const lotes::Estudio& Estudio() const { return estudio_; }
  const lotes::EvaluacionCaso& Evaluacion() const { return evaluacion_; }
  const QString& Ruta() const { return ruta_; }
  PanelCaso* Caso() const { return caso_; }
  PanelResultados* Resultados() const { return resultados_; }
  PanelBarrido* Barrido() const { return barrido_; }
  PanelPsse* Psse() const { return psse_; }
  QTabWidget* Pestanas() const { return pestanas_; }
  QMenu* Recientes() const { return recientes_; }

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  void ConstruirMenus();
  void CasoCambiado();
  void BarridoCambiado();
  void PonerEstudio(const lotes::Estudio& e);
  void Evaluar();
  void PonerRuta(const QString& ruta);
  // True when the document may go: unchanged, or saved or discarded as the user answers.
  bool PuedeCerrar();
  bool EscribirEstudio(const QString& ruta);
  void AnadirReciente(const QString& ruta);
  void LlenarRecientes();
  void Recordar() const;

  ConfiguracionRegional regional_;
  Dialogos& dialogos_;
  lotes::Estudio estudio_;
  lotes::EvaluacionCaso evaluacion_;
  QString ruta_;
  bool esCaso_ = false;  // the document is a PSS/E case, not a study's file
  PanelCaso* caso_ = nullptr;
  PanelResultados* resultados_ = nullptr;
  PanelBarrido* barrido_ = nullptr;
  PanelPsse* psse_ = nullptr;
  QTabWidget* pestanas_ = nullptr;
  QSplitter* division_ = nullptr;
  QScrollArea* desplazable_ = nullptr;
  QMenu* recientes_ = nullptr;
  DialogoBuscar* buscar_ = nullptr;
};

}  // namespace zelk::ui::estudios
