# Per-target settings shared by every library, program and test of the project.
function(raysketcher_configure target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(RAYSKETCHER_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(RAYSKETCHER_SANITIZE)
    # GCC's "undefined" leaves out float-to-int conversions that do not fit; we want them too.
    target_compile_options(
      ${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined,float-cast-overflow)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow)
  endif()
endfunction()

# add_raysketcher_test(name SOURCES...): one GoogleTest program, registered with ctest.
function(add_raysketcher_test name)
  add_executable(${name} ${ARGN})
  raysketcher_configure(${name})
  target_link_libraries(${name} PRIVATE raysketcher_core GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # ctest names carry their layer ("core."), so one layer runs alone (ctest -R "^core")
  gtest_discover_tests(${name} TEST_PREFIX "core." DISCOVERY_MODE PRE_TEST)
endfunction()
