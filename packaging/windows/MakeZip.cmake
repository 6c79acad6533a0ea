# Puts FILES, FOLDERS and, in simport/, SIMPORT into the folder STAGE, and
# zips that folder as PACKAGE. Run by the build (cmake -P).
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/simport)
file(COPY ${FILES} ${FOLDERS} DESTINATION ${STAGE})
file(COPY ${SIMPORT} DESTINATION ${STAGE}/simport)
cmake_path(GET STAGE PARENT_PATH parent)
cmake_path(GET STAGE FILENAME folder)
file(GLOB_RECURSE entries RELATIVE ${parent} ${STAGE}/*)
list(SORT entries)
file(REMOVE ${PACKAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${PACKAGE} --format=zip -- ${entries}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${PACKAGE}")
endif()
