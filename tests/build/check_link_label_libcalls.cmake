# Builds LinkLabel.dll as a compiler that calls memset and memcpy for every
# zero-fill and block copy would, and checks that it links, that it does call
# memset (or the probe proves nothing; GCC 12 copies no block large enough
# for memcpy), and that both call nothing themselves.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target link_label_libcalls RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "LinkLabel.dll does not link when the compiler calls memset and memcpy")
endif()
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${DLL} OUTPUT_VARIABLE code RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot disassemble ${DLL}")
endif()
if(NOT code MATCHES "call +[0-9a-f]+ <memset>")
  message(FATAL_ERROR "the probe never calls memset")
endif()
foreach(function memset memcpy)
  # Its body runs up to the blank line after it; a call or jump to the start
  # of a function (no "+offset") leaves it.
  string(REGEX MATCH "<${function}>:\n[^\n]+(\n[^\n]+)*" body "${code}")
  if(body MATCHES "(call|jmp) +[0-9a-f]+ <[^+>]+>")
    message(FATAL_ERROR "${function} calls out: ${CMAKE_MATCH_0}")
  endif()
endforeach()
