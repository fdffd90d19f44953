# A library sees the headers of itself and of the libraries it links, and no others: its
# headers are linked into a folder of the build tree of its own (include/TARGET/FOLDER/X.h),
# which is its public include directory. Including a header of a library that is not linked
# then fails to compile instead of failing (or not) at link time.
#
#   motrix_headers(target [HEADERS header-only.h ...])
#
# A library's headers are X.h beside each X.cpp of its sources, the headers among its sources
# and the header-only ones named. FOLDER is the library's folder below src/ (app/core, link,
# ...), so sources include "link/DeviceLink.h" as before.
function(motrix_headers target)
  cmake_parse_arguments(H "" "" "HEADERS" ${ARGN})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  get_target_property(sources ${target} SOURCES)
  set(headers ${H_HEADERS})
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.h$")
      list(APPEND headers ${source})
    elseif(source MATCHES "\\.cpp$")
      string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
        list(APPEND headers ${header})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES headers)
  get_target_property(type ${target} TYPE)
  set(scope PUBLIC)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()

  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "${target}: no header ${CMAKE_CURRENT_SOURCE_DIR}/${header}")
    endif()
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
