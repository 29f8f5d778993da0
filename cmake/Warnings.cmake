# Warnings are errors on every compiler we build with.
# GCC 12 at -O2 reports a false -Wrestrict overlap in the memcpy inlined from
# operator+(const char*, std::string&&) (GCC bug 105329) when the right side is a temporary, as
# in `"S-1-" + std::to_string(n)`. The code appends such pieces instead (VersionCaption, the two
# SID-to-text functions, the simulated version records); the warning stays an error.
function(vexilla_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wsign-conversion -Wnon-virtual-dtor -Werror)
  endif()
endfunction()
