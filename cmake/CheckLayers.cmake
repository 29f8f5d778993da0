# cmake -DSOURCE_DIR=<repo>/src -P CheckLayers.cmake
# Fails when a source file includes a header of a layer above its own. Each folder of src/ is a
# layer; a file may include its own layer and the ones listed for it (all below it). The two
# backends sit beside each other above the seam; only the Windows-only code above them may
# use the real one. The plan layer sits above the seam too, wrapping whichever backend is
# active; the engine and the layers above it may install it.

cmake_minimum_required(VERSION 3.20)

set(_allowed_platform "")
set(_allowed_platform/sim platform)
set(_allowed_platform/win32 platform)
set(_allowed_platform/plan platform)
set(_allowed_common platform)
set(_allowed_registry platform common)
set(_allowed_security platform common registry)
set(_allowed_deletion platform common registry security)
set(_allowed_backup platform common registry security deletion)
set(_allowed_engine platform platform/plan common registry security deletion backup)
set(_allowed_ui platform platform/plan common registry security deletion backup engine)
set(_allowed_ui/win32 platform platform/plan platform/win32 common registry security deletion
                        backup engine ui)
set(_allowed_app platform platform/plan platform/win32 common registry security deletion backup
                   engine ui ui/win32)
set(_layers platform platform/sim platform/win32 platform/plan common registry security deletion
            backup engine ui ui/win32 app)

# The layer of a path below src/: its first folder, or the first two for a backend, the plan
# layer or the Windows side of the editor.
function(_layer_of path out)
  string(REGEX MATCH "^(platform/sim|platform/win32|platform/plan|ui/win32|[^/]+)/" _match
               "${path}")
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "pass -DSOURCE_DIR=<repo>/src")
endif()
file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
set(_violations "")
foreach(_file IN LISTS _files)
  _layer_of("${_file}" _own)
  if(NOT _own IN_LIST _layers)
    string(APPEND _violations "  ${_file}: in no known layer (add its folder to CheckLayers.cmake)\n")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
  foreach(_line IN LISTS _includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" _header "${_line}")
    _layer_of("${_header}" _target)
    if(_target STREQUAL _own OR _target IN_LIST _allowed_${_own})
      continue()
    endif()
    string(APPEND _violations "  ${_file} (${_own}) includes ${_header} (${_target})\n")
  endforeach()
endforeach()

if(_violations)
  message(FATAL_ERROR "includes that run up or across the layers:\n${_violations}")
endif()
list(LENGTH _files _count)
message(STATUS "layers: ${_count} files, every include runs downwards")
