# Runs the program without a display: it must say so in one line and end
# with status 2, not abort.
execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 30)
if(NOT result EQUAL 2 OR NOT errors STREQUAL "tessary: no display to open windows on (DISPLAY is not set)\n")
  message(FATAL_ERROR "without a display: status ${result}, said:\n${output}${errors}")
endif()
