# What every target of the Windows build shares: Windows 2000 as the oldest system we must
# start on, a static runtime, unused code dropped. Included by the root CMakeLists before any
# target is made, only when WIN32.

enable_language(RC)

add_compile_definitions(_WIN32_WINNT=0x0500 WINVER=0x0500)

if(MINGW)
  # One section per function and per object, so that the linker drops what nothing calls (an
  # unused function no longer pulls in the part of the C++ library it needs).
  add_compile_options(-ffunction-sections -fdata-sections)
  # No MinGW runtime DLL to ship, a PE header that Windows 2000 accepts, no unused sections,
  # and no symbols in a release.
  add_link_options(-static -static-libgcc -static-libstdc++
                   -Wl,--major-subsystem-version,5,--minor-subsystem-version,0
                   -Wl,--major-os-version,5,--minor-os-version,0
                   -Wl,--gc-sections
                   $<$<CONFIG:Release,MinSizeRel>:-s>)
elseif(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
