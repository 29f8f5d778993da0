# System DLLs the program loads when it first calls into them rather than when it starts.
#
# A headless run (a switch on the command line) needs the registry and little else; binding the
# window, drawing, common-controls, shell and COM libraries at start cost it more than the work
# itself (docs/performance.md, "A headless start"). With delay loading each of those DLLs is
# loaded by the first call into it, through the runtime's __delayLoadHelper2, and a run that
# never calls into it never loads it. The DLLs are part of every Windows we support, so the
# load itself cannot fail; a function one of them lacks would fail at the call instead of at
# start, which is why the import-table check also reads the delay-loaded functions.
#
#   vexilla_delay_loaded_dlls(TARGET DLL...)
# makes the INTERFACE library TARGET: linking it binds every function of the DLLs (names
# without ".dll") to delay-loading stubs.
#
# MinGW: the delay-import libraries are made when CMake configures, from the toolchain's import
# libraries (cmake/MakeDelayImportLibrary.cmake). GNU ld drops the loading stub of a function
# that the code reaches only through its "__imp_" address slot, which is how a function declared
# __declspec(dllimport) is called: the slot would stay empty and the first call would jump to
# address 0. So code that links TARGET declares the Windows functions without dllimport
# (DECLSPEC_IMPORT empty) and calls them through the stubs. The import-table check refuses an
# executable with an empty slot. MSVC: the linker's own /DELAYLOAD.

# Where the MinGW delay-import libraries are made: lib<dll>-delay.a.
set(VEXILLA_DELAY_IMPORT_DIR ${CMAKE_BINARY_DIR}/delayload)

function(vexilla_delay_loaded_dlls target)
  add_library(${target} INTERFACE)
  if(MSVC)
    foreach(dll IN LISTS ARGN)
      target_link_libraries(${target} INTERFACE ${dll})
      target_link_options(${target} INTERFACE /DELAYLOAD:${dll}.dll)
    endforeach()
    target_link_libraries(${target} INTERFACE delayimp)
    return()
  endif()
  if(NOT MINGW OR NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "delay loading needs MinGW's nm and dlltool (or MSVC)")
  endif()

  set(script ${PROJECT_SOURCE_DIR}/cmake/MakeDelayImportLibrary.cmake)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  foreach(dll IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
                    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${import_library}" OR NOT EXISTS "${import_library}")
      message(FATAL_ERROR "the toolchain has no import library lib${dll}.a")
    endif()
    set(library ${VEXILLA_DELAY_IMPORT_DIR}/lib${dll}-delay.a)
    if(NOT EXISTS ${library} OR ${script} IS_NEWER_THAN ${library}
       OR ${import_library} IS_NEWER_THAN ${library})
      execute_process(COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
                              -DIMPORT_LIBRARY=${import_library} -DDLL=${dll}.dll
                              -DOUTPUT=${library} -P ${script}
                      RESULT_VARIABLE result)
      if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not make the delay-import library of ${dll}.dll")
      endif()
    endif()
    target_link_libraries(${target} INTERFACE ${library})
  endforeach()
  target_compile_definitions(${target} INTERFACE DECLSPEC_IMPORT=)
endfunction()
