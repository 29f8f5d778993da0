# Fails when EXECUTABLE imports a DLL outside the system set, or a function that an older
# Windows we support lacks. Such a program starts under Wine (which exports everything)
# and refuses to load on Windows 2000 or XP; those calls must be looked up at run time.
#   cmake -DOBJDUMP=<objdump> -DEXECUTABLE=<exe> [-DLINK_MAP=<map>] [-DSTART_DLLS=<dll,...>]
#         -P CheckImports.cmake
# LINK_MAP, the GNU ld map of EXECUTABLE, adds the functions it delay-loads (cmake/DelayLoad.cmake),
# which the import table does not show. They follow the same rules, since a delay-loaded
# function a Windows lacks ends the program at its first call; and each must be bound to its
# loading stub, or that first call jumps to address 0.
# START_DLLS names the DLLs the program may load when it starts (its import table); any other
# system DLL must be delay-loaded, so that a run loads only what it calls.

cmake_minimum_required(VERSION 3.20)

if(NOT OBJDUMP OR NOT EXECUTABLE)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DEXECUTABLE=... -P CheckImports.cmake")
endif()

set(allowed_dlls kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll
    oleaut32.dll comctl32.dll winmm.dll msvcrt.dll comdlg32.dll version.dll msimg32.dll)
set(forbidden_functions
    Wow64DisableWow64FsRedirection Wow64RevertWow64FsRedirection IsWow64Process
    CreateWellKnownSid RegDeleteKeyExA RegDeleteKeyExW RegGetValueA RegGetValueW
    RegDeleteTreeA RegDeleteTreeW GetTickCount64
    InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
    InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
    FlsAlloc FlsGetValue FlsSetValue FlsFree)
string(TOLOWER "${START_DLLS}" start_dlls)
string(REPLACE "," ";" start_dlls "${start_dlls}")

execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE}
                OUTPUT_VARIABLE dump ERROR_VARIABLE dump_error RESULT_VARIABLE dump_result)
if(NOT dump_result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXECUTABLE} failed: ${dump_error}")
endif()

# One list entry per line; a ';' in the text would otherwise split an entry.
function(split_lines text out)
  string(REPLACE ";" "," text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(problems "")
# check_dll DLL HOW: the rules for a DLL the program imports (HOW "" or " (delay-loaded)").
macro(check_dll dll how)
  string(TOLOWER "${dll}" dll_lower)
  if(NOT dll_lower IN_LIST allowed_dlls)
    list(APPEND problems "import from a non-system DLL: ${dll}${how}")
  endif()
endmacro()
macro(check_function dll function how)
  if("${function}" IN_LIST forbidden_functions)
    list(APPEND problems "forbidden import: ${dll}!${function}${how}")
  endif()
endmacro()

# ---- the import table: what loads when the program starts ----
split_lines("${dump}" lines)
set(dll "")
set(dll_count 0)
set(function_count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*DLL Name: ([^ \t\r]+)")
    set(dll "${CMAKE_MATCH_1}")
    math(EXPR dll_count "${dll_count} + 1")
    check_dll("${dll}" "")
    string(TOLOWER "${dll}" dll_lower)
    if(DEFINED START_DLLS AND NOT dll_lower IN_LIST start_dlls)
      list(APPEND problems "${dll} loads when the program starts: delay-load it (cmake/DelayLoad.cmake)")
    endif()
  elseif(line MATCHES "^[ \t]*$" OR line MATCHES "^[A-Z]")
    # A blank line or a new heading ends the function list of the current DLL.
    set(dll "")
  elseif(dll AND line MATCHES "^\t[0-9a-fA-F]+\t +[0-9]+ +([^ \t\r]+)")
    math(EXPR function_count "${function_count} + 1")
    check_function("${dll}" "${CMAKE_MATCH_1}" "")
  endif()
endforeach()

# An output this script does not understand must not pass as "no forbidden imports".
if(dll_count EQUAL 0 OR function_count EQUAL 0)
  message(FATAL_ERROR "no import table found in the output of ${OBJDUMP} -p ${EXECUTABLE}")
endif()

# ---- the delay-loaded functions, from the link map ----
set(delayed_count 0)
if(LINK_MAP)
  if(NOT EXISTS "${LINK_MAP}")
    message(FATAL_ERROR "no link map ${LINK_MAP}")
  endif()
  execute_process(COMMAND ${OBJDUMP} -s -j .idata ${EXECUTABLE}
                  OUTPUT_VARIABLE slots_dump ERROR_VARIABLE dump_error RESULT_VARIABLE dump_result)
  if(NOT dump_result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -s -j .idata ${EXECUTABLE} failed: ${dump_error}")
  endif()
  file(READ "${LINK_MAP}" map)
  split_lines("${map}" lines)
  # Each delay-loaded function is a 4-byte address slot in .idata from a lib<dll>-delay.a
  # member, followed by the line that names the slot "_imp__<function>[@<bytes>]".
  set(slot "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^ \\.idata\\$5 +0x([0-9a-fA-F]+) +0x4 .*lib([A-Za-z0-9_]+)-delay\\.a\\(")
      set(slot "${CMAKE_MATCH_1}")
      set(dll "${CMAKE_MATCH_2}.dll")
      continue()
    endif()
    if(NOT slot STREQUAL "" AND line MATCHES "^ +0x0*${slot} +_imp__([^@ \t\r]+)")
      set(function "${CMAKE_MATCH_1}")
      math(EXPR delayed_count "${delayed_count} + 1")
      check_dll("${dll}" " (delay-loaded)")
      check_function("${dll}" "${function}" " (delay-loaded)")
      # The slot's word in the file: the address of the stub that loads the DLL.
      math(EXPR address "0x${slot}")
      math(EXPR row "${address} - ${address} % 16" OUTPUT_FORMAT HEXADECIMAL)
      math(EXPR word "${address} % 16 / 4")
      string(REGEX REPLACE "^0x" "" row "${row}")
      string(TOLOWER "${row}" row)
      # A row of the dump: " 4da5e0 00000000 5e1b4000 00000000 00000000  ....^.@........."
      set(value "")
      if(slots_dump MATCHES "\n ${row} ([0-9a-f]+)( [0-9a-f]+)?( [0-9a-f]+)?( [0-9a-f]+)?")
        math(EXPR group "${word} + 1")
        string(STRIP "${CMAKE_MATCH_${group}}" value)
      endif()
      if(value STREQUAL "" OR value STREQUAL "00000000")
        list(APPEND problems "${dll}!${function} (delay-loaded) has no loading stub \
(a caller was compiled with __declspec(dllimport), see cmake/DelayLoad.cmake)")
      endif()
    endif()
    set(slot "")
  endforeach()
endif()

if(problems)
  list(JOIN problems "\n  " report)
  message(FATAL_ERROR "${EXECUTABLE}:\n  ${report}")
endif()
message(STATUS "${EXECUTABLE}: ${dll_count} system DLLs, ${function_count} functions, "
               "${delayed_count} delay-loaded functions, none forbidden")
