# With ZELK_SANITIZE every target is built and linked under ASan and UBSan; a report aborts the
# process, so a test that triggers one fails.
if(ZELK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# With ZELK_FUZZ (clang only) the libraries carry libFuzzer's coverage as well; the fuzz targets
# link libFuzzer itself.
if(ZELK_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
