# Copies the installation data from SRC (the source modules/ folder) to DST
# (modules/ beside the executable). Files the user changes through the program
# are copied only when missing, so a rebuild never overwrites a user's data;
# read-only installation data is refreshed.
set(USER_FILES
  setting/apConfig.bin
  setting/name.bin
  gun/gunData.bin
)
file(GLOB_RECURSE all RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS all)
  # Pages and skin images are compiled into the program.
  if(rel MATCHES "^(qml|img/skin1)/" OR rel STREQUAL "img/background.png" OR rel STREQUAL "CMakeLists.txt")
    continue()
  endif()
  set(to ${DST}/${rel})
  list(FIND USER_FILES ${rel} user_index)
  if(user_index GREATER -1 AND EXISTS ${to})
    continue()
  endif()
  get_filename_component(dir ${to} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${SRC}/${rel} ${to} ONLY_IF_DIFFERENT)
endforeach()
file(MAKE_DIRECTORY ${DST}/macro)
