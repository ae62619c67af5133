# Fails when a binary of the release outgrows its budget, unwind tables
# included: Vorlind.exe 88 KB, LinkLabel.dll 16 KB.
foreach(entry "${VORLIND}|90112" "${LINK_LABEL}|16384")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 binary)
  list(GET entry 1 budget)
  file(SIZE "${binary}" size)
  if(size GREATER budget)
    message(SEND_ERROR "${binary}: ${size} bytes, over its budget of ${budget}")
  else()
    message(STATUS "${binary}: ${size} of ${budget} bytes")
  endif()
endforeach()
