# Native build: the window-free parts under the sanitizers, their unit tests and fuzz targets.
set(OKTALON_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(oktalon_pure PUBLIC ${OKTALON_SANITIZERS})
target_link_options(oktalon_pure PUBLIC ${OKTALON_SANITIZERS})

include(cmake/GoogleTest.cmake)
enable_testing()

file(GLOB OKTALON_NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*.cpp)
if(OKTALON_NATIVE_TESTS)
  add_executable(oktalon_native_tests ${OKTALON_NATIVE_TESTS})
  target_link_libraries(oktalon_native_tests PRIVATE oktalon_pure gtest_main)
  add_test(NAME oktalon_native_tests COMMAND oktalon_native_tests --gtest_brief=1)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
