# Builds the Debian package into OUT_DIR and checks that it holds the
# program, the admin command, the report files, the menu entry and its icon.
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages ${OUT_DIR}/tessary_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one tessary_*.deb in ${OUT_DIR}, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb -c ${packages} RESULT_VARIABLE result OUTPUT_VARIABLE contents)
execute_process(COMMAND dpkg-deb -f ${packages} Depends OUTPUT_VARIABLE depends)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${packages}")
endif()
foreach(path
    ./usr/bin/tessary
    ./usr/bin/tessary-admin
    ./usr/share/tessary/DepartmentRequest.rpt
    ./usr/share/tessary/DepartmentRequest_Short.rpt
    ./usr/share/applications/tessary.desktop
    ./usr/share/icons/hicolor/scalable/apps/tessary.svg)
  string(REGEX MATCH " ${path}\n" found "${contents}")
  if(NOT found)
    message(FATAL_ERROR "${packages} lacks ${path}; it holds:\n${contents}")
  endif()
endforeach()
foreach(dependency libqt6widgets6 libsqlite3-0 qt6-qpa-plugins fonts-urw-base35)
  string(FIND "${depends}" "${dependency}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${packages} does not depend on ${dependency}: ${depends}")
  endif()
endforeach()
message(STATUS "${packages} holds what a workstation needs")
