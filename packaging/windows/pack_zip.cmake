# Packs the zip for Windows from PROGRAMS (separated by "|"), README and LICENCE in STAGE into ZIP,
# everything in one folder TOP, so that unpacking it anywhere makes that one folder.
# The texts get a byte order mark and CR LF line ends, so that every Notepad shows their Czech
# letters right.
file(REMOVE_RECURSE ${STAGE})
set(FOLDER ${STAGE}/${TOP})
file(MAKE_DIRECTORY ${FOLDER})

string(REPLACE "|" ";" PROGRAMS "${PROGRAMS}")
set(names)
foreach(program ${PROGRAMS})
    get_filename_component(name ${program} NAME)
    execute_process(COMMAND ${STRIP} -o ${FOLDER}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND names ${name})
endforeach()

string(ASCII 239 187 191 byte_order_mark)
foreach(pair "${README}|ČTIMNE.txt" "${LICENCE}|LICENCE.txt")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 name)
    file(READ ${source} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${FOLDER}/${name} "${byte_order_mark}${text}")
endforeach()

file(REMOVE ${ZIP})
# The archive of CMake marks the names as UTF-8, as Windows' own zip folders expect.
set(members)
foreach(name ${names} ČTIMNE.txt LICENCE.txt)
    list(APPEND members ${TOP}/${name})
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${members}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
