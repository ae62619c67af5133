# Checks what Windows expects of the release's binaries: unwind tables (an
# exception directory over .pdata, and .xdata) in both, and the header flag
# "terminal-server aware" in the program but not in the DLL, where the
# system ignores it.
foreach(entry "${VORLIND}|aware" "${LINK_LABEL}|unaware")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 binary)
  list(GET entry 1 expected)
  execute_process(COMMAND ${OBJDUMP} -h -p ${binary} OUTPUT_VARIABLE header RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot read ${binary}")
  endif()
  if(NOT header MATCHES "Entry 3 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Exception Directory \\[\\.pdata\\]"
     OR NOT header MATCHES "\\.xdata")
    message(SEND_ERROR "${binary} has no unwind tables")
  endif()
  string(FIND "${header}" TERMINAL_SERVICE_AWARE at)
  if((at EQUAL -1) STREQUAL (expected STREQUAL "aware"))
    message(SEND_ERROR "${binary} should be terminal-server ${expected}")
  endif()
endforeach()
