# Fails unless the release archive holds exactly the program, its control,
# the read-me and the two removal files, in one folder.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ARCHIVE} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${ARCHIVE}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$|^$")
list(SORT entries)
set(expected "Vorlind/Entfernen-Benutzer.reg;Vorlind/Entfernen.reg;Vorlind/LIESMICH.txt;Vorlind/LinkLabel.dll;Vorlind/Vorlind.exe")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "archive holds [${entries}], expected [${expected}]")
endif()
message(STATUS "release archive: ${entries}")
