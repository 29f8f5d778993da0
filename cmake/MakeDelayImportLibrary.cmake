# Writes the delay-import library of one system DLL: every function the toolchain's import
# library offers, bound to a stub that loads the DLL on the first call into it (dlltool -y) and
# then calls the function through a table filled by the MinGW runtime's __delayLoadHelper2.
# Exported data is left out: data cannot wait for a first call. A name the result lacks falls
# back to the toolchain's import library, that is to an ordinary import that loads at start.
#   cmake -DNM=<nm> -DDLLTOOL=<dlltool> -DIMPORT_LIBRARY=<libuser32.a> -DDLL=user32.dll
#         -DOUTPUT=<dir>/libuser32-delay.a -P MakeDelayImportLibrary.cmake

cmake_minimum_required(VERSION 3.20)

foreach(input IN ITEMS NM DLLTOOL IMPORT_LIBRARY DLL OUTPUT)
  if(NOT ${input})
    message(FATAL_ERROR "MakeDelayImportLibrary.cmake needs -D${input}=...")
  endif()
endforeach()

execute_process(COMMAND ${NM} --extern-only --defined-only ${IMPORT_LIBRARY}
                OUTPUT_VARIABLE symbols ERROR_VARIABLE nm_error RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "${NM} ${IMPORT_LIBRARY} failed: ${nm_error}")
endif()

# An i686 import library defines, per function, the stub "_Name@N" (T) and the address slot
# "__imp__Name@N" (I); per exported datum only the slot.
string(REPLACE ";" "," symbols "${symbols}")
string(REPLACE "\n" ";" lines "${symbols}")
set(stubs "")
set(slots "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]+ T _([^ ]+)$")
    list(APPEND stubs "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^[0-9a-fA-F]+ I __imp__([^ ]+)$")
    list(APPEND slots "${CMAKE_MATCH_1}")
  endif()
endforeach()
set(data ${slots})
if(stubs)
  list(REMOVE_ITEM data ${stubs})
endif()
set(functions ${slots})
if(data)
  list(REMOVE_ITEM functions ${data})
endif()
list(REMOVE_DUPLICATES functions)
list(SORT functions)
list(LENGTH functions count)
if(count EQUAL 0)
  message(FATAL_ERROR "no functions found in ${IMPORT_LIBRARY}")
endif()

get_filename_component(folder "${OUTPUT}" DIRECTORY)
get_filename_component(name "${OUTPUT}" NAME)
string(REGEX REPLACE "\\.a$" ".def" definition "${name}")
list(JOIN functions "\n" exports)
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${folder}/${definition}" "LIBRARY \"${DLL}\"\nEXPORTS\n${exports}\n")

# --kill-at: the stdcall names are decorated ("GetMessageA@16") for the linker but are looked up
# in the DLL without the decoration. Run in the output folder: dlltool names its members and
# temporary files after the output path.
execute_process(COMMAND ${DLLTOOL} --kill-at --input-def ${definition} --dllname ${DLL}
                        --output-delaylib ${name}
                WORKING_DIRECTORY "${folder}"
                OUTPUT_VARIABLE dlltool_output ERROR_VARIABLE dlltool_output
                RESULT_VARIABLE dlltool_result)
if(NOT dlltool_result EQUAL 0 OR NOT EXISTS "${OUTPUT}")
  message(FATAL_ERROR "${DLLTOOL} could not make ${OUTPUT}: ${dlltool_output}")
endif()
