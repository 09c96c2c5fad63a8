// Output files that take their name's place only when the run succeeds, with the owner of the file
// they replace, and the test for two names of one file.
#include "archivos/archivos.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zelk {
namespace {

namespace fs = std::filesystem;

class ArchivoSalida : public testing::Test {
 protected:
  void SetUp() override {
    // A folder of its own: other builds may run the same test at the same time.
    carpeta_ = fs::temp_directory_path() /
               ("zelk-archivos-" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(std::random_device()()));
    fs::remove_all(carpeta_);
    fs::create_directories(carpeta_);
  }
  void TearDown() override { fs::remove_all(carpeta_); }

  fs::path Ruta(const std::string& nombre) const { return carpeta_ / nombre; }

  void Poner(const std::string& nombre, const std::string& contenido) const {
    std::ofstream(Ruta(nombre), std::ios::binary) << contenido;
  }

  std::string Leer(const fs::path& ruta) const {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }

  // The names in the folder: no temporary file may be left behind.
  std::vector<std::string> Nombres() const {
    std::vector<std::string> nombres;
    for (const auto& e : fs::directory_iterator(carpeta_))
      nombres.push_back(e.path().filename().string());
    std::sort(nombres.begin(), nombres.end());
    return nombres;
  }

  fs::path carpeta_;
};

TEST_F(ArchivoSalida, SustituyeSoloAlConfirmar) {
  Poner("tabla.csv", "anterior");
  archivos::ArchivoSalida archivo(Ruta("tabla.csv"));
  ASSERT_FALSE(archivo.Abrir());
  archivo.Flujo() << "nueva";
  ASSERT_FALSE(archivo.Cerrar());
  EXPECT_EQ(Leer(Ruta("tabla.csv")), "anterior") << "untouched until the run succeeds";
  EXPECT_EQ(Nombres().size(), 2u) << "written beside it";
  ASSERT_FALSE(archivo.Confirmar());
  EXPECT_EQ(Leer(Ruta("tabla.csv")), "nueva");
  EXPECT_EQ(Nombres(), std::vector<std::string>{"tabla.csv"});
}

// Written in pieces, a new file and one that replaces another (sent to the disk every 8 MB as it is
// written) come out whole, whatever their size.
TEST_F(ArchivoSalida, GrandeOPequenoSaleEntero) {
  for (const bool reemplaza : {false, true}) {
    for (const std::size_t piezas : {1u, 20u}) {
      const std::string nombre = "t" + std::to_string(reemplaza) + std::to_string(piezas) + ".csv";
      if (reemplaza)
        Poner(nombre, "anterior");
      std::string esperado;
      archivos::ArchivoSalida archivo(Ruta(nombre));
      ASSERT_FALSE(archivo.Abrir());
      for (std::size_t i = 0; i < piezas; ++i) {
        const std::string pieza((std::size_t{1} << 19) + i, static_cast<char>('a' + i));
        archivo.Flujo().write(pieza.data(), static_cast<std::streamsize>(pieza.size()));
        esperado += pieza;
      }
      ASSERT_FALSE(archivo.Cerrar());
      ASSERT_FALSE(archivo.Confirmar());
      EXPECT_TRUE(Leer(Ruta(nombre)) == esperado) << nombre;
    }
  }
}

TEST_F(ArchivoSalida, SinConfirmarNoQuedaNada) {
  Poner("tabla.csv", "anterior");
  {
    archivos::ArchivoSalida archivo(Ruta("tabla.csv"));
    ASSERT_FALSE(archivo.Abrir());
    archivo.Flujo() << "a medias";
  }
  EXPECT_EQ(Leer(Ruta("tabla.csv")), "anterior");
  EXPECT_EQ(Nombres(), std::vector<std::string>{"tabla.csv"});
  {
    archivos::ArchivoSalida nueva(Ruta("nueva.csv"));
    ASSERT_FALSE(nueva.Abrir());
  }
  EXPECT_EQ(Nombres(), std::vector<std::string>{"tabla.csv"}) << "no new file either";
}

TEST_F(ArchivoSalida, ConservaPermisosYEnlaces) {
  Poner("tabla.csv", "anterior");
  const auto permisos = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(Ruta("tabla.csv"), permisos);
  fs::create_symlink("tabla.csv", Ruta("enlace.csv"));
  archivos::ArchivoSalida archivo(Ruta("enlace.csv"));
  ASSERT_FALSE(archivo.Abrir());
  ASSERT_FALSE(archivo.Escribir("nueva"));
  ASSERT_FALSE(archivo.Cerrar());
  ASSERT_FALSE(archivo.Confirmar());
  EXPECT_TRUE(fs::is_symlink(Ruta("enlace.csv"))) << "the link stays a link";
  EXPECT_EQ(Leer(Ruta("tabla.csv")), "nueva");
  EXPECT_EQ(fs::status(Ruta("tabla.csv")).permissions(), permisos);
}

// The replaced file's owner and group stay (root may give them); its other names keep the old
// contents, and the user is told.
TEST_F(ArchivoSalida, ConservaDuenoYAvisaDeOtrosNombres) {
  const std::pair<int, std::string> casos[] = {
      {0, ""},
      {1, "tenía otro nombre (un enlace duro), que sigue con el contenido anterior"},
      {2, "tenía otros 2 nombres (enlaces duros), que siguen con el contenido anterior"},
  };
  const bool root = ::geteuid() == 0;
  for (const auto& [enlaces, nota] : casos) {
    const fs::path ruta = Ruta("tabla" + std::to_string(enlaces) + ".csv");
    Poner(ruta.filename().string(), "anterior");
    for (int i = 0; i < enlaces; ++i)
      fs::create_hard_link(ruta, ruta.string() + std::to_string(i));
    ASSERT_TRUE(!root || ::chown(ruta.c_str(), 12345, 12346) == 0);
    archivos::ArchivoSalida archivo(ruta);
    ASSERT_FALSE(archivo.Abrir());
    ASSERT_FALSE(archivo.Escribir("nueva"));
    ASSERT_FALSE(archivo.Cerrar());
    ASSERT_FALSE(archivo.Confirmar());
    struct stat st {};
    ASSERT_EQ(::stat(ruta.c_str(), &st), 0);
    EXPECT_TRUE(!root || (st.st_uid == 12345 && st.st_gid == 12346))
        << st.st_uid << ":" << st.st_gid;
    for (int i = 0; i < enlaces; ++i)
      EXPECT_EQ(Leer(ruta.string() + std::to_string(i)), "anterior");
    EXPECT_EQ(archivo.Notas(), nota.empty()
                                   ? std::vector<std::string>{}
                                   : std::vector<std::string>{"«" + ruta.string() + "» " + nota});
  }
}

TEST_F(ArchivoSalida, LoQueNoSePuedeAbrirDicePorQue) {
  fs::create_directory(Ruta("carpeta"));
  archivos::ArchivoSalida carpeta(Ruta("carpeta"));
  EXPECT_EQ(carpeta.Abrir(), "es una carpeta");
  archivos::ArchivoSalida sinCarpeta(Ruta("no-hay/tabla.csv"));
  EXPECT_EQ(sinCarpeta.Abrir(), "no se puede crear un archivo en «" +
                                    (Ruta("no-hay") / "").string() +
                                    "»: " + archivos::TextoDelError(ENOENT));
  EXPECT_EQ(Nombres(), std::vector<std::string>{"carpeta"});
}

// A device cannot be replaced: it is written in place, and a failed write is reported.
TEST_F(ArchivoSalida, DispositivosEnSuSitio) {
  archivos::ArchivoSalida nulo("/dev/null");
  ASSERT_FALSE(nulo.Abrir());
  ASSERT_FALSE(nulo.Escribir("nada"));
  EXPECT_FALSE(nulo.Cerrar());
  EXPECT_FALSE(nulo.Confirmar());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  archivos::ArchivoSalida lleno("/dev/full");
  ASSERT_FALSE(lleno.Abrir());
  const std::string mucho(1 << 20, 'x');
  const auto escrito = lleno.Escribir(mucho);
  const auto cerrado = lleno.Cerrar();
  EXPECT_EQ(escrito ? *escrito : cerrado.value_or(""), archivos::TextoDelError(ENOSPC));
}

TEST_F(ArchivoSalida, MismoArchivo) {
  Poner("a.csv", "a");
  Poner("b.csv", "b");
  fs::create_hard_link(Ruta("a.csv"), Ruta("duro.csv"));
  fs::create_symlink(Ruta("a.csv"), Ruta("blando.csv"));
  EXPECT_TRUE(archivos::MismoArchivo(Ruta("a.csv"), Ruta("a.csv")));
  EXPECT_TRUE(archivos::MismoArchivo(Ruta("a.csv"), carpeta_ / "." / "a.csv"));
  EXPECT_TRUE(archivos::MismoArchivo(Ruta("a.csv"), Ruta("duro.csv")));
  EXPECT_TRUE(archivos::MismoArchivo(Ruta("blando.csv"), Ruta("a.csv")));
  EXPECT_FALSE(archivos::MismoArchivo(Ruta("a.csv"), Ruta("b.csv")));
  // Names of files not yet made: the same once "." and ".." are resolved.
  EXPECT_TRUE(archivos::MismoArchivo(Ruta("x.svg"), carpeta_ / "otra" / ".." / "x.svg"));
  EXPECT_FALSE(archivos::MismoArchivo(Ruta("x.svg"), Ruta("y.svg")));
}

}  // namespace
}  // namespace zelk
