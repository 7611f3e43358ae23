# Run by cpack on the staged tree (CPACK_PRE_BUILD_SCRIPTS). The packaged data folders are made
# read-only: the program keeps its data beside itself only where the folder's mode bits allow writing,
# so this sends every user, root included, to ~/.local/share/orvane-g7 and leaves dpkg's files alone.
set(data "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/lib/orvane-g7/modules")
if(NOT IS_DIRECTORY "${data}")
  message(FATAL_ERROR "No installed data folder to make read-only: ${data}")
endif()
file(GLOB_RECURSE dirs LIST_DIRECTORIES true "${data}/*")
foreach(dir IN ITEMS "${data}" LISTS dirs)
  if(IS_DIRECTORY "${dir}")
    file(CHMOD "${dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
         WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
