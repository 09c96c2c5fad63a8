#include "archivos/archivos.h"

#include <cerrno>
#include <random>
#include <system_error>

#include "archivos/plataforma.h"

namespace zelk::archivos {

namespace fs = std::filesystem;

fs::path RutaUtf8(std::string_view nombre) {
  return fs::path(std::u8string(nombre.begin(), nombre.end()));
}

std::string TextoDeRuta(const fs::path& ruta) {
  const std::u8string texto = ruta.u8string();
  return std::string(texto.begin(), texto.end());
}

namespace {

struct TextoDeError {
  std::errc codigo;
  std::string_view nombre, texto;
};

// The errors a file may meet, in the user's language; the code's name stays for a search.
constexpr TextoDeError kTextos[] = {
    {std::errc::no_such_file_or_directory, "ENOENT", "no existe el archivo o la carpeta"},
    {std::errc::permission_denied, "EACCES", "permiso denegado"},
    {std::errc::operation_not_permitted, "EPERM", "operación no permitida"},
    {std::errc::is_a_directory, "EISDIR", "es una carpeta"},
    {std::errc::not_a_directory, "ENOTDIR", "no es una carpeta"},
    {std::errc::no_space_on_device, "ENOSPC", "no queda espacio en el dispositivo"},
    {std::errc::filename_too_long, "ENAMETOOLONG", "nombre de archivo demasiado largo"},
    {std::errc::read_only_file_system, "EROFS", "sistema de archivos de solo lectura"},
    {std::errc::file_exists, "EEXIST", "el archivo ya existe"},
    {std::errc::too_many_symbolic_link_levels, "ELOOP", "demasiados niveles de enlaces simbólicos"},
    {std::errc::io_error, "EIO", "error de entrada o salida"},
    {std::errc::bad_file_descriptor, "EBADF", "descriptor de archivo no válido"},
    {std::errc::too_many_files_open, "EMFILE", "demasiados archivos abiertos"},
    {std::errc::too_many_files_open_in_system, "ENFILE",
     "demasiados archivos abiertos en el sistema"},
    {std::errc::file_too_large, "EFBIG", "archivo demasiado grande"},
    {std::errc::broken_pipe, "EPIPE", "tubería rota"},
    {std::errc::no_such_device_or_address, "ENXIO", "no existe el dispositivo o la dirección"},
    {std::errc::no_such_device, "ENODEV", "no existe el dispositivo"},
    {std::errc::device_or_resource_busy, "EBUSY", "dispositivo o recurso ocupado"},
    {std::errc::text_file_busy, "ETXTBSY", "archivo de texto ocupado"},
    {std::errc::invalid_argument, "EINVAL", "argumento no válido"},
    {std::errc::cross_device_link, "EXDEV", "enlace entre dispositivos distintos"},
    {std::errc::not_enough_memory, "ENOMEM", "no hay memoria suficiente"},
    {std::errc::resource_unavailable_try_again, "EAGAIN", "recurso no disponible por ahora"},
    {std::errc::interrupted, "EINTR", "llamada interrumpida"},
    {std::errc::directory_not_empty, "ENOTEMPTY", "la carpeta no está vacía"},
};

}  // namespace

std::string TextoDelError(int numero) {
  if (numero == 0)
    return "error de entrada o salida";
  for (const auto& t : kTextos)
    if (static_cast<int>(t.codigo) == numero)
      return std::string(t.texto) + " (" + std::string(t.nombre) + ")";
  return "error del sistema (código " + std::to_string(numero) + ")";
}

std::string TextoDelError(const std::error_code& codigo) {
  // Windows' own codes become the C library's where there is one.
  const std::error_condition condicion = codigo.default_error_condition();
  if (condicion.category() == std::generic_category())
    return TextoDelError(condicion.value());
  return "error del sistema (código " + std::to_string(codigo.value()) + ")";
}

bool MismoArchivo(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec))
    return true;
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  if (ec)
    return false;
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return !ec && ca == cb;
}

ArchivoSalida::~ArchivoSalida() {
  if (confirmado_ || temporal_.empty())
    return;
  buffer_.close();
  std::error_code ec;
  fs::remove(temporal_, ec);
  OlvidarTemporal(vigilado_);
}

namespace {

// Where a chain of symbolic links leads, also when its end does not exist yet; empty with the
// error number when the chain loops.
std::optional<fs::path> FinDeEnlaces(fs::path ruta, int& error) {
  std::error_code ec;
  for (int saltos = 0; fs::is_symlink(fs::symlink_status(ruta, ec)); ++saltos) {
    if (saltos == 40) {  // as the system gives up
      error = ELOOP;
      return std::nullopt;
    }
    const fs::path destino = fs::read_symlink(ruta, ec);
    if (ec) {
      error = ec.default_error_condition().value();
      return std::nullopt;
    }
    ruta = destino.is_absolute() ? destino : ruta.parent_path() / destino;
  }
  return ruta;
}

// A hidden name beside `destino` for the file while it is written: ".tabla.csv.1a2b3c4d.tmp". A
// long name is cut, at a character's start, so that the temporary one stays within the system's
// limit of 255.
fs::path NombreTemporal(const fs::path& destino, unsigned azar) {
  std::string base = TextoDeRuta(destino.filename());
  constexpr std::size_t kLargo = 200;
  if (base.size() > kLargo) {
    std::size_t corte = kLargo;
    while (corte > 0 && (static_cast<unsigned char>(base[corte]) & 0xC0) == 0x80)
      --corte;
    base.resize(corte);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string nombre(1, '.');
  nombre.append(base).push_back('.');
  for (unsigned i = 0; i < 8; ++i, azar >>= 4)
    nombre.push_back(kHex[azar & 15]);
  nombre.append(".tmp");
  return destino.parent_path() / RutaUtf8(nombre);
}

}  // namespace

std::optional<std::string> ArchivoSalida::Abrir() {
  std::error_code ec;
  int error = 0;
  // Through a link, the file it leads to is written and the link stays, also when that file does
  // not exist yet.
  const auto fin = FinDeEnlaces(ruta_, error);
  if (!fin)
    return TextoDelError(error);
  const bool enlace = *fin != ruta_;
  const fs::file_status estado = fs::status(*fin, ec);
  destino_ = *fin;
  if (fs::is_directory(estado))
    return std::string("es una carpeta");
  if (fs::exists(estado) && !fs::is_regular_file(estado)) {
    // A device or a pipe ("/dev/null", a FIFO): there is nothing to put in its place.
    errno = 0;
    if (buffer_.open(ruta_, std::ios::out | std::ios::binary) == nullptr)
      return TextoDelError(errno);
    return std::nullopt;
  }
  if (fs::exists(estado)) {
    // The run replaces this file: if the user may not write it, say so now. Opening to append
    // changes nothing.
    errno = 0;
    if (!std::ofstream(destino_, std::ios::binary | std::ios::app))
      return TextoDelError(errno);
    existia_ = true;
    if (enlace) {
      destino_ = fs::canonical(destino_, ec);
      if (ec)
        return TextoDelError(ec);
    }
  }
  // Readable by its owner only while it is written: the data may be private, as the mode of the
  // file it replaces may say; that mode, or a new file's, comes just before it takes its place.
  std::random_device azar;
  for (int intento = 0; intento < 100; ++intento) {
    const fs::path candidato = NombreTemporal(destino_, azar());
    // Named to the signal handlers before it exists, so that no signal finds it unnamed; a name
    // that turns out to be taken (a random clash) is taken back at once.
    vigilado_ = VigilarTemporal(candidato);
    error = CrearPrivado(candidato);
    if (error != 0) {
      OlvidarTemporal(vigilado_);
      vigilado_ = 0;
    }
    if (error == EEXIST)
      continue;
    if (error != 0) {
      fs::path carpeta = destino_.parent_path();
      if (carpeta.empty())
        carpeta = ".";
      return "no se puede crear un archivo en «" + TextoDeRuta(carpeta / "") +
             "»: " + TextoDelError(error);
    }
    temporal_ = candidato;
    errno = 0;
    // Opened as it stands, just created and empty: a truncation would also tell ext4 to write
    // the whole file out when it is closed, which the run would wait for.
    if (buffer_.open(temporal_, std::ios::binary | std::ios::in | std::ios::out) == nullptr)
      return TextoDelError(errno);
    if (existia_)
      buffer_.adelantar = &temporal_;
    return std::nullopt;
  }
  return std::string("no se puede crear un archivo temporal a su lado");
}

std::streamsize ArchivoSalida::Buffer::xsputn(const char* s, std::streamsize n) {
  constexpr std::streamsize kTramo = 8 << 20;
  const std::streamsize escritos = std::filebuf::xsputn(s, n);
  if (adelantar != nullptr && (sinAdelantar_ += escritos) >= kTramo) {
    sinAdelantar_ = 0;
    EmpezarVolcado(*adelantar);
  }
  return escritos;
}

std::optional<std::string> ArchivoSalida::Escribir(std::string_view bytes) {
  errno = 0;
  flujo_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!flujo_)
    return TextoDelError(errno);
  return std::nullopt;
}

std::optional<std::string> ArchivoSalida::Cerrar() {
  if (!buffer_.is_open())
    return std::nullopt;
  errno = 0;
  flujo_.flush();
  if (!flujo_)
    return TextoDelError(errno);
  errno = 0;
  if (buffer_.close() == nullptr)
    return TextoDelError(errno);
  return std::nullopt;
}

std::optional<std::string> ArchivoSalida::Confirmar() {
  if (temporal_.empty())
    return std::nullopt;
  std::error_code ec;
  fs::perms permisos = PermisosDeArchivoNuevo();
  std::vector<std::string> notas;
  if (existia_) {
    const fs::file_status anterior = fs::status(destino_, ec);
    if (!ec)
      permisos = anterior.permissions();
    const std::string nombre = "«" + TextoDeRuta(ruta_) + "» ";
    if (const auto perdido = ConservarDueno(destino_, temporal_))
      notas.push_back(nombre + *perdido);
    // The rename gives the name a new file; the file's other names keep the old one.
    const auto enlaces = fs::hard_link_count(destino_, ec);
    if (!ec && enlaces == 2)
      notas.push_back(nombre +
                      "tenía otro nombre (un enlace duro), que sigue con el contenido anterior");
    else if (!ec && enlaces > 2)
      notas.push_back(nombre + "tenía otros " + std::to_string(enlaces - 1) +
                      " nombres (enlaces duros), que siguen con el contenido anterior");
  }
  fs::permissions(temporal_, permisos, ec);
  fs::rename(temporal_, destino_, ec);
  if (ec)
    return TextoDelError(ec);
  notas_ = std::move(notas);
  confirmado_ = true;
  OlvidarTemporal(vigilado_);
  return std::nullopt;
}

}  // namespace zelk::archivos
