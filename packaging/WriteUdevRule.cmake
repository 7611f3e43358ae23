# Writes the udev rule the program prints for its built-in catalogue:
# cmake -DPROGRAM=<orvane-g7> -DOUT=<file> -P WriteUdevRule.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${PROGRAM} --udev-rule
                OUTPUT_FILE ${OUT}.new RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --udev-rule failed: ${result}")
endif()
file(RENAME ${OUT}.new ${OUT})
