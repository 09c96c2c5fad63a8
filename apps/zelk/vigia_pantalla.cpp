#include "apps/zelk/vigia_pantalla.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

QtMessageHandler anterior = nullptr;

// The platform's own remarks while the display opens: shown only when it opened, since on a
// failure they would repeat the reason in English.
struct Nota {
  QtMsgType tipo;
  std::string categoria;
  QString texto;
};
std::vector<Nota> notas;

void Vigilar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
  if (tipo == QtFatalMsg) {
    const QByteArray mensaje = TextoSinPantalla().toLocal8Bit();
    std::fwrite(mensaje.constData(), 1, static_cast<std::size_t>(mensaje.size()), stderr);
    std::fflush(stderr);
    std::_Exit(1);
  }
  const std::string categoria = contexto.category ? contexto.category : "";
  if (categoria.rfind("qt.qpa", 0) == 0) {
    notas.push_back({tipo, categoria, texto});
    return;
  }
  anterior(tipo, contexto, texto);
}

}  // namespace

VigiaDePantalla::VigiaDePantalla() {
  anterior = qInstallMessageHandler(Vigilar);
}

VigiaDePantalla::~VigiaDePantalla() {
  qInstallMessageHandler(anterior);
  for (const auto& nota : notas) {
    const QMessageLogContext contexto(nullptr, 0, nullptr, nota.categoria.c_str());
    anterior(nota.tipo, contexto, nota.texto);
  }
  notas.clear();
}
