# Packs the release so that the same binaries give the same archive, byte for
# byte, whatever the folder, umask, time zone, locale and time of the build
# (scripts/reproducible.sh builds it again with each of these changed and
# compares): one folder "Vorlind", its entries in a fixed order, each with the
# same time and permissions, no owner or extra times (zip -X), the zip's local
# times read in UTC. Writes the SHA-256 sums of the archive and of the two binaries
# beside it, named as the archive names them (sha256sum -c checks them).
#   cmake -DARCHIVE= -DSUMS= -DSTAGE= -DFILES=a;b -DZIP= -DTOUCH= -P pack_release.cmake
set(time "@1796083200")  # 2026-12-01 00:00 UTC, the release's date
file(REMOVE_RECURSE ${STAGE})
file(REMOVE ${ARCHIVE})  # zip would add to an archive already there
file(MAKE_DIRECTORY ${STAGE}/Vorlind)
file(COPY ${FILES} DESTINATION ${STAGE}/Vorlind NO_SOURCE_PERMISSIONS)
file(CHMOD_RECURSE ${STAGE}/Vorlind FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
     DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(entries Vorlind/)
foreach(file ${FILES})
  get_filename_component(name ${file} NAME)
  list(APPEND entries Vorlind/${name})
endforeach()
list(SORT entries)
execute_process(COMMAND ${TOUCH} -d ${time} ${entries} WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -X -q ${ARCHIVE} ${entries}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(name ${ARCHIVE} NAME)
file(SHA256 ${ARCHIVE} sum)
set(sums "${sum}  ${name}\n")
foreach(entry Vorlind/Vorlind.exe Vorlind/LinkLabel.dll)
  file(SHA256 ${STAGE}/${entry} sum)
  string(APPEND sums "${sum}  ${entry}\n")
endforeach()
file(WRITE ${SUMS} "${sums}")
