# Fails when EXECUTABLE imports a DLL outside the system set, or a function that an older
# Windows we support lacks. Such a program starts under Wine (which exports everything)
# and refuses to load on Windows 2000 or XP; those calls must be looked up at run time.
#   cmake -DOBJDUMP=<objdump> -DEXECUTABLE=<exe> -P CheckImports.cmake

cmake_minimum_required(VERSION 3.20)

if(NOT OBJDUMP OR NOT EXECUTABLE)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DEXECUTABLE=... -P CheckImports.cmake")
endif()

set(allowed_dlls kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll
    oleaut32.dll comctl32.dll winmm.dll msvcrt.dll comdlg32.dll version.dll)
set(forbidden_functions
    Wow64DisableWow64FsRedirection Wow64RevertWow64FsRedirection IsWow64Process
    CreateWellKnownSid RegDeleteKeyExA RegDeleteKeyExW RegGetValueA RegGetValueW
    RegDeleteTreeA RegDeleteTreeW GetTickCount64
    InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
    InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
    FlsAlloc FlsGetValue FlsSetValue FlsFree)

execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE}
                OUTPUT_VARIABLE dump ERROR_VARIABLE dump_error RESULT_VARIABLE dump_result)
if(NOT dump_result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXECUTABLE} failed: ${dump_error}")
endif()

# One list entry per line; a ';' in the dump would otherwise split an entry.
string(REPLACE ";" "," dump "${dump}")
string(REPLACE "\n" ";" lines "${dump}")

set(dll "")
set(dll_count 0)
set(function_count 0)
set(problems "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*DLL Name: ([^ \t\r]+)")
    set(dll "${CMAKE_MATCH_1}")
    math(EXPR dll_count "${dll_count} + 1")
    string(TOLOWER "${dll}" dll_lower)
    if(NOT dll_lower IN_LIST allowed_dlls)
      list(APPEND problems "import from a non-system DLL: ${dll}")
    endif()
  elseif(line MATCHES "^[ \t]*$" OR line MATCHES "^[A-Z]")
    # A blank line or a new heading ends the function list of the current DLL.
    set(dll "")
  elseif(dll AND line MATCHES "^\t[0-9a-fA-F]+\t +[0-9]+ +([^ \t\r]+)")
    math(EXPR function_count "${function_count} + 1")
    if(CMAKE_MATCH_1 IN_LIST forbidden_functions)
      list(APPEND problems "forbidden import: ${dll}!${CMAKE_MATCH_1}")
    endif()
  endif()
endforeach()

# An output this script does not understand must not pass as "no forbidden imports".
if(dll_count EQUAL 0 OR function_count EQUAL 0)
  message(FATAL_ERROR "no import table found in the output of ${OBJDUMP} -p ${EXECUTABLE}")
endif()

if(problems)
  list(JOIN problems "\n  " report)
  message(FATAL_ERROR "${EXECUTABLE}:\n  ${report}")
endif()
message(STATUS "${EXECUTABLE}: ${dll_count} system DLLs, ${function_count} functions, "
               "none forbidden")
