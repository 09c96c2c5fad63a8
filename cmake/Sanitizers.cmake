# With ZELK_SANITIZE every target is built and linked under ASan and UBSan; a report aborts the
# process, so a test that triggers one fails.
if(ZELK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
