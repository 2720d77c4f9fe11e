# Each layer of the program is a static library that sees only its own
# headers and those of the layers it links: its headers are linked into a
# folder of its own in the build tree (layers/<target>/<area>/File.h), and
# that folder, not src/, is its include path. An include of a higher layer's
# header therefore fails to compile.
#
#   tessary_layer(tessary_db
#     SOURCES db/Connection.cpp db/Connection.h ...   (paths under src/)
#     LINKS   tessary_base Qt6::Sql)
function(tessary_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;LINKS" ${ARGN})
  set(stage ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${stage})
  set(sources "")
  foreach(relative ${LAYER_SOURCES})
    set(source ${PROJECT_SOURCE_DIR}/src/${relative})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "${name}: no source ${relative}")
    endif()
    list(APPEND sources ${source})
    if(relative MATCHES "\\.h$")
      get_filename_component(folder ${stage}/${relative} DIRECTORY)
      file(MAKE_DIRECTORY ${folder})
      file(CREATE_LINK ${source} ${stage}/${relative} SYMBOLIC)
    endif()
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${stage})
  target_link_libraries(${name} PUBLIC ${LAYER_LINKS})
endfunction()
