# Every target of the project links zelk_warnings; the flags live here only.
add_library(zelk_warnings INTERFACE)
add_library(zelk::warnings ALIAS zelk_warnings)
target_compile_options(zelk_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wno-sign-conversion)
if(ZELK_WERROR)
  target_compile_options(zelk_warnings INTERFACE -Werror)
endif()
