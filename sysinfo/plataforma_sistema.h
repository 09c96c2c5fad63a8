// The launcher's platform for the system the program runs on.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "sysinfo/plataforma.h"

namespace zelk::sysinfo {

// Windows' registry and process start on Windows; elsewhere a platform without a registry.
// `mensaje` shows the launcher's message.
std::unique_ptr<Plataforma> PlataformaDelSistema(std::function<void(std::string_view)> mensaje);

}  // namespace zelk::sysinfo
