# Run by cpack on the staged tree. Before packing (CPACK_PRE_BUILD_SCRIPTS) the data folders are made
# read-only: the program keeps its data beside itself only where the folder's mode bits allow writing,
# so this sends every user, root included, to ~/.local/share/orvane-g7 and leaves dpkg's files alone.
# After packing (CPACK_POST_BUILD_SCRIPTS, which alone sets CPACK_PACKAGE_FILES) they are made
# writable again, so the build folder stays removable without root.
set(data "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/lib/orvane-g7/modules")
if(NOT IS_DIRECTORY "${data}")
  message(FATAL_ERROR "No staged data folder: ${data}")
endif()
set(mode OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(DEFINED CPACK_PACKAGE_FILES)
  list(APPEND mode OWNER_WRITE)
endif()
file(GLOB_RECURSE dirs LIST_DIRECTORIES true "${data}/*")
foreach(dir IN ITEMS "${data}" LISTS dirs)
  if(IS_DIRECTORY "${dir}")
    file(CHMOD "${dir}" DIRECTORY_PERMISSIONS ${mode})
  endif()
endforeach()
