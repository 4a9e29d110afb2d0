# A lazily loading import library for one DLL (cmake/delay_load.cmake): every function the
# toolchain's import library names, loaded at its first call.
#   cmake -DNM=... -DDLLTOOL=... -DIMPLIB=libx.a -DDLL=x -DOUT=libx_delay.a -P make_delay_lib.cmake
execute_process(COMMAND ${NM} ${IMPLIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} ${IMPLIB} failed")
endif()
string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
list(TRANSFORM imports REPLACE " I __imp_" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
list(JOIN imports "\n" exports)
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${OUT}.def "LIBRARY ${DLL}.dll\nEXPORTS\n${exports}\n")
execute_process(COMMAND ${DLLTOOL} -d ${OUT}.def -y ${OUT} -D ${DLL}.dll RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} failed for ${DLL}")
endif()
