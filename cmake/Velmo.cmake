# Shared helpers for the module CMakeLists files.

# Adds each listed subdirectory of the current source folder that holds a CMakeLists.txt.
function(velmo_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# velmo_library(<target> SOURCES ... [DEPS ...])
# A static module library; includes are rooted at the repository top ("modbus/modbus.h").
function(velmo_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# velmo_test(<name> SOURCES ... [DEPS ...] [LABELS ...])
# A GoogleTest executable registered with CTest. Label "unit" runs in every build;
# other labels (pty, smoke, peer) mark tests that need more than the process itself.
if(VELMO_TESTS)
  find_package(GTest REQUIRED)
endif()
function(velmo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600)
endfunction()
