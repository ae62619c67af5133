# Both binaries carry unwind tables (an exception directory over .pdata, and
# .xdata); the program is marked terminal-server aware, the DLL is not.
foreach(entry "${VORLIND}|aware" "${LINK_LABEL}|unaware")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 binary)
  list(GET entry 1 expected)
  execute_process(COMMAND ${OBJDUMP} -h -p ${binary} OUTPUT_VARIABLE header COMMAND_ERROR_IS_FATAL ANY)
  if(NOT header MATCHES "Entry 3 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Exception Directory \\[\\.pdata\\]"
     OR NOT header MATCHES "\\.xdata")
    message(SEND_ERROR "${binary} has no unwind tables")
  endif()
  string(FIND "${header}" TERMINAL_SERVICE_AWARE at)
  if((at EQUAL -1) STREQUAL (expected STREQUAL "aware"))
    message(SEND_ERROR "${binary} should be terminal-server ${expected}")
  endif()
endforeach()
