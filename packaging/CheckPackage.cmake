# Builds the Debian package into OUT_DIR and checks that it holds the
# program, the admin command, their manual pages, the report files, the
# sample site, the menu entry and its icon; lintian, when installed, must
# find no error and no warning in it.
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
    ./usr/share/tessary/IssueSlip.rpt
    ./usr/share/tessary/samples/site/items.csv
    ./usr/share/applications/tessary.desktop
    ./usr/share/icons/hicolor/scalable/apps/tessary.svg
    ./usr/share/man/man1/tessary.1.gz
    ./usr/share/man/man1/tessary-admin.1.gz
    ./usr/share/doc/tessary/copyright
    ./usr/share/doc/tessary/changelog.gz)
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
find_program(LINTIAN lintian)
if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --fail-on error,warning --tag-display-limit 0 ${packages}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian finds fault with ${packages}:\n${output}${errors}")
  endif()
  message(STATUS "lintian: ${output}")
endif()
message(STATUS "${packages} holds what a workstation needs")
