// The About window: what the program is, its version and who made it, and the button that starts
// the system information tool. A fixed dialog without owner; it unloads itself when dismissed.
#pragma once

#include <QDialog>
#include <functional>
#include <string_view>

class QLabel;

namespace zelk::ui {

inline constexpr std::string_view kNombreAcerca = "frmAbout";
inline constexpr std::string_view kTituloAcerca = "Acerca de este programa...";
inline constexpr std::string_view kTextoTitulo = "ZELK";
inline constexpr std::string_view kTextoVersion = "Version 1.2";
inline constexpr std::string_view kTextoDescripcion =
    "Este programa calcula en base a los datos de los extremos rectificador e inversor, y de la "
    "corriente continua transmitida, las potencias en corriente alterna de ambos extremos.";
inline constexpr std::string_view kTextoCredito = "Desarrollado por el equipo de zelk.";
inline constexpr std::string_view kTextoOK = "OK";
inline constexpr std::string_view kTextoSysInfo = "&System Info...";
// What a screen reader calls the lines of the etched separator.
inline constexpr std::string_view kNombreSeparador = "Separador";

class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  // `lanzador` runs when "System Info..." is pressed.
  explicit FrmAbout(std::function<void()> lanzador);

 protected:
  bool event(QEvent* evento) override;

 private:
  // The application's palette, or a light one where it is dark.
  void AjustarPaleta();
  // The desktop's font, made smaller where a text of the window would not fit its box.
  void AjustarFuente();
  // The load step: caption, version and title, each time the window is loaded.
  void Cargar();

  std::function<void()> lanzador_;
  QLabel* lblTitle_ = nullptr;
  QLabel* lblVersion_ = nullptr;
};

}  // namespace zelk::ui
