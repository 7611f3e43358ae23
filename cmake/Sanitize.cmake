# -DG7_SANITIZE=ON builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer; undefined behaviour then stops the program, so a
# test that runs into it fails. G7_SANITIZER_ENV holds the settings the tests run with.
option(G7_SANITIZE "Build with -fsanitize=address,undefined" OFF)
set(G7_SANITIZER_ENV "")
if(G7_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Line tables are all a sanitizer report needs; full debug info and -O2 double the build time.
  if(NOT G7_FUZZ)
    set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  endif()
  set(G7_SANITIZER_ENV
    "ASAN_OPTIONS=strict_init_order=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endif()
