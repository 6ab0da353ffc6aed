# Native build: the window-free parts under the sanitizers, their unit tests and fuzz targets.
set(OKTALON_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(oktalon_pure PUBLIC ${OKTALON_SANITIZERS})
target_link_options(oktalon_pure PUBLIC ${OKTALON_SANITIZERS})
# The standard library checks its preconditions too: indexes inside strings, views and vectors,
# std::clamp's bounds in order, and more that the sanitizers cannot see.
target_compile_definitions(oktalon_pure PUBLIC _GLIBCXX_ASSERTIONS)

# Static analysis of the window-free sources as they compile (checks in .clang-tidy; a finding
# fails the build).
option(OKTALON_CLANG_TIDY "Run clang-tidy on the window-free sources" ON)
if(OKTALON_CLANG_TIDY)
  find_program(OKTALON_CLANG_TIDY_EXE clang-tidy REQUIRED)
  set_target_properties(oktalon_pure PROPERTIES CXX_CLANG_TIDY ${OKTALON_CLANG_TIDY_EXE})
endif()

include(cmake/GoogleTest.cmake)
enable_testing()

file(GLOB OKTALON_NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(oktalon_native_tests ${OKTALON_NATIVE_TESTS})
target_link_libraries(oktalon_native_tests PRIVATE oktalon_pure gtest_main)
add_test(NAME oktalon_native_tests COMMAND oktalon_native_tests --gtest_brief=1)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_subdirectory(tests/fuzz)
endif()
add_subdirectory(bench)
