# Every target of the project links zelk_warnings; the flags live here only.
add_library(zelk_warnings INTERFACE)
add_library(zelk::warnings ALIAS zelk_warnings)
target_compile_options(zelk_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wno-sign-conversion)
if(ZELK_WERROR)
  target_compile_options(zelk_warnings INTERFACE -Werror)
endif()
# GCC 12 warns of overlapping copies inside std::string's operator+ once it inlines deeply (-O3,
# as the Windows build compiles): a false alarm of that release (GCC bug 105329), fixed in 13.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(zelk_warnings INTERFACE -Wno-restrict)
endif()
