# Fails when a linked program holds the C++ exception machinery. The link
# map lists each function the program keeps with its address, after "Linker
# script and memory map"; what --gc-sections dropped is listed before that.
# On failure the program is removed, so the next build links and checks again.
file(READ ${MAP} map)
string(FIND "${map}" "Linker script and memory map" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${MAP} is no link map")
endif()
string(SUBSTRING "${map}" ${start} -1 kept)
set(found "")
foreach(symbol __cxa_throw _Unwind_Resume __gxx_personality_seh0)
  if(kept MATCHES "0x[0-9a-f]+ +${symbol}\r?\n")
    list(APPEND found ${symbol})
  endif()
endforeach()
# Nothing runs global constructors (platform/runtime/lean_startup.cpp): an object
# that needs one must not be linked.
if(kept MATCHES "\n \\.ctors[.0-9]* +0x[0-9a-f]+ +0x[0-9a-f]+ ")
  file(REMOVE ${PRODUCT})
  message(FATAL_ERROR "${PRODUCT} holds a global constructor, which nothing runs: make the object a "
                      "function-local static or constant-initialised. Where: ${MAP}, \".ctors\".")
endif()
if(found)
  file(REMOVE ${PRODUCT})
  list(JOIN found ", " found)
  message(FATAL_ERROR "${PRODUCT} links the C++ exception machinery (${found}): a function of the C++ runtime "
                      "it calls throws; replace it in platform/runtime/lean_runtime.cpp or do without it. "
                      "Where it comes from: ${MAP}, \"Archive member included\".")
endif()
