# g7_add_tests(<module> [GUILESS] LIBS <libs...>)
# Every tst_<name>.cpp in the calling folder becomes one test executable and one
# CTest test named <module>/<name>. support_*.cpp files of the folder are built
# into every test of it. Tests run in their build folder with the offscreen
# platform; tst_x11_*.cpp tests start their own Xvfb instead. GUILESS tests get
# neither a platform nor the shared helpers: they link what LIBS names and QtTest.
function(g7_add_tests module)
  cmake_parse_arguments(T "GUILESS" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support_*.h)
  set(runtime ${CMAKE_BINARY_DIR}/xdg-runtime)
  file(MAKE_DIRECTORY ${runtime})
  file(CHMOD ${runtime} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  foreach(src IN LISTS tests)
    get_filename_component(exe ${src} NAME_WE)
    string(REGEX REPLACE "^tst_" "" name ${exe})
    set(target ${module}_${exe})
    qt_add_executable(${target} ${src} ${support})
    set_target_properties(${target} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      OUTPUT_NAME ${exe})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${target} PRIVATE
      G7_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      G7_RUNTIME_DIR="${G7_RUNTIME_DIR}")
    target_link_libraries(${target} PRIVATE ${T_LIBS} Qt6::Test)
    if(TARGET g7testsupport AND NOT T_GUILESS)
      target_link_libraries(${target} PRIVATE g7testsupport)
    endif()
    add_test(NAME ${module}/${name} COMMAND ${target})
    # No test may change the desktop's settings or start a session bus for them.
    # KDE's wheel lines live in $XDG_CONFIG_HOME/kdeglobals: a folder of the build, no KDE session.
    # A function that hangs fails by name after 150 s, before CTest's time-out kills the whole test.
    set(env "XDG_RUNTIME_DIR=${runtime}" "GSETTINGS_BACKEND=memory" "DBUS_SESSION_BUS_ADDRESS=disabled:"
        "QTEST_FUNCTION_TIMEOUT=150000"
        "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/xdg-config" "XDG_CURRENT_DESKTOP=" ${G7_SANITIZER_ENV})
    if(NOT name MATCHES "^x11_" AND NOT T_GUILESS)
      list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${module}/${name} PROPERTIES
      ENVIRONMENT "${env}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      TIMEOUT 300)
    # One virtual screen at a time: the program test lost its display when others ran beside it.
    if(name MATCHES "^x11_")
      set_tests_properties(${module}/${name} PROPERTIES RESOURCE_LOCK xserver)
    endif()
  endforeach()
endfunction()
