# The Windows program and its test programs.
enable_language(RC)

set(OKTALON_WIN_DEFINITIONS UNICODE _UNICODE STRICT WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(OKTALON_WIN_LIBS user32 gdi32 comctl32 comdlg32 advapi32 shell32)

if(MINGW)
  # The C and C++ runtimes go into the exe, so it needs nothing but system DLLs.
  set(OKTALON_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
  target_link_options(oktalon_pure INTERFACE ${OKTALON_STATIC_RUNTIME})
  # GCC keeps 32-byte AVX values on a Windows stack that it cannot align to 32 bytes; the scan's
  # AVX2 code has any aligned vector move assembled as an unaligned one, which cannot fault.
  set_source_files_properties(doc/PatternScan.cpp PROPERTIES COMPILE_OPTIONS -Wa,-muse-unaligned-vector-move)
elseif(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
target_compile_definitions(oktalon_pure PUBLIC ${OKTALON_WIN_DEFINITIONS})

# Our own application framework over Win32.
file(GLOB OKTALON_FRAMEWORK_SOURCES CONFIGURE_DEPENDS framework/*/*.cpp)
list(REMOVE_ITEM OKTALON_FRAMEWORK_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/framework/docview/WinMain.cpp)
foreach(pure ${PURE_SOURCES})
  list(REMOVE_ITEM OKTALON_FRAMEWORK_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${pure})
endforeach()
add_library(oktalon_framework STATIC ${OKTALON_FRAMEWORK_SOURCES})
target_include_directories(oktalon_framework PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(oktalon_framework PUBLIC ${OKTALON_WIN_DEFINITIONS})
target_link_libraries(oktalon_framework PUBLIC oktalon_pure ${OKTALON_WIN_LIBS})

# The viewer's classes. The file that holds the application object goes straight into the exe:
# nothing references it, so a static library would drop it.
file(GLOB OKTALON_VIEWER_SOURCES CONFIGURE_DEPENDS app/*.cpp doc/*.cpp view/*.cpp dialogs/*.cpp)
foreach(pure ${PURE_SOURCES})
  list(REMOVE_ITEM OKTALON_VIEWER_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${pure})
endforeach()
set(OKTALON_APP_OBJECT_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/app/ScrollApp.cpp)
list(REMOVE_ITEM OKTALON_VIEWER_SOURCES ${OKTALON_APP_OBJECT_SOURCE})
add_library(oktalon_viewer STATIC ${OKTALON_VIEWER_SOURCES})
target_link_libraries(oktalon_viewer PUBLIC oktalon_framework oktalon_pure)

# The resource script selects the manifest of the target architecture, and takes the version
# details from the project's version (a header made here).
set(OKTALON_RC ${CMAKE_CURRENT_SOURCE_DIR}/res/oktalon.rc)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(OKTALON_RC_ARCH OKTALON_ARCH_AMD64)
  set(OKTALON_RELEASE_ARCH x64)
else()
  set(OKTALON_RC_ARCH OKTALON_ARCH_X86)
  set(OKTALON_RELEASE_ARCH x86)
endif()
foreach(part MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    set(OKTALON_VERSION_${part} 0)
  else()
    set(OKTALON_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/oktalon_version.h @ONLY)
# windres leaves no list of the files it read: name what the script includes (the framework's
# own script among them), so that a change there makes the resources again.
file(GLOB OKTALON_RC_INPUTS CONFIGURE_DEPENDS res/*.h res/*.bmp res/*.ico res/*.manifest)
list(APPEND OKTALON_RC_INPUTS ${CMAKE_CURRENT_SOURCE_DIR}/framework/core/Framework.rc
     ${CMAKE_CURRENT_SOURCE_DIR}/framework/core/FrameworkIds.h ${CMAKE_BINARY_DIR}/generated/oktalon_version.h)
set_source_files_properties(${OKTALON_RC} PROPERTIES COMPILE_DEFINITIONS ${OKTALON_RC_ARCH}
                            OBJECT_DEPENDS "${OKTALON_RC_INPUTS}")
if(MINGW)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()
# Resources as an object library, so every Windows test program carries them too.
add_library(oktalon_resources OBJECT ${OKTALON_RC})
target_include_directories(oktalon_resources PRIVATE ${CMAKE_BINARY_DIR}/generated)
set(OKTALON_RESOURCE_OBJECTS $<TARGET_OBJECTS:oktalon_resources>)

add_executable(oktalon WIN32 ${OKTALON_APP_OBJECT_SOURCE} framework/docview/WinMain.cpp ${OKTALON_RESOURCE_OBJECTS})
target_link_libraries(oktalon PRIVATE oktalon_viewer)
if(MINGW)
  # The oldest Windows the program runs on is Windows 7 (6.1), what _WIN32_WINNT targets: the
  # header says so, and older systems refuse to start it.
  target_link_options(oktalon PRIVATE -municode -Wl,--major-os-version,6,--minor-os-version,1
                      -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
  # The program's own code carries debug information (which changes no code), so that a crash
  # address can be read back to its source line: its files named from the top of the source
  # tree, its build folder as ".", so that any folder gives the same bytes; the switches are left
  # out, as they name the source folder. oktalon.exe itself goes without: after linking, its
  # debug information moves to a file of its own, which the exe names (.gnu_debuglink, with the
  # file's CRC) and the release ships beside it. objcopy writes a time into the PE header unless
  # told one: the linker's, zero.
  foreach(target oktalon_pure oktalon_framework oktalon_viewer oktalon)
    target_compile_options(${target} PRIVATE -g -gno-record-gcc-switches
                           -fdebug-prefix-map=${CMAKE_BINARY_DIR}=.)
  endforeach()
  set(OKTALON_DEBUG_FILE ${CMAKE_BINARY_DIR}/oktalon-${PROJECT_VERSION}-${OKTALON_RELEASE_ARCH}.debug)
  add_custom_command(
    TARGET oktalon POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:oktalon>
            ${OKTALON_DEBUG_FILE}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY} --strip-all
            --add-gnu-debuglink=${OKTALON_DEBUG_FILE} $<TARGET_FILE:oktalon>
    BYPRODUCTS ${OKTALON_DEBUG_FILE}
    COMMENT "Moving oktalon.exe's debug information to ${OKTALON_DEBUG_FILE}"
    VERBATIM)
endif()

# Windows tests run under Wine through the test bed, the x86 build's too (Wine's 32-bit loader).
include(cmake/GoogleTest.cmake)
set(OKTALON_WINEBED ${CMAKE_CURRENT_SOURCE_DIR}/tests/winebed.sh)
enable_testing()

# What the test programs share, built once: the driver that works the real program from outside
# (its process, input, screen captures, the end-to-end fixture, and the test files every suite
# makes), and the Windows-class tests' support on top of it (the message-box watcher, the view
# fixture and its picture checks, the Windows-1250 table the dump tests hold against the
# system). The driver links no framework: it sees the viewer only as another process does.
set(OKTALON_WIN_TEST_SUPPORT_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/TestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/CoreTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/ViewFixture.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/DumpPicture.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/native/Cp1250.cpp)
add_library(oktalon_win_test_support STATIC ${OKTALON_WIN_TEST_SUPPORT_SOURCES})
target_link_libraries(oktalon_win_test_support PUBLIC oktalon_viewer oktalon_e2e_driver gtest)

set(OKTALON_E2E_DRIVER_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/Driver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/Screen.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/TempFile.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/ViewerTest.cpp)
add_library(oktalon_e2e_driver STATIC ${OKTALON_E2E_DRIVER_SOURCES})
target_include_directories(oktalon_e2e_driver PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(oktalon_e2e_driver PUBLIC ${OKTALON_WIN_DEFINITIONS})
target_link_libraries(oktalon_e2e_driver PUBLIC gtest user32 gdi32 advapi32)
target_link_options(oktalon_e2e_driver INTERFACE ${OKTALON_STATIC_RUNTIME})

# Each suite has a Wine bed of its own: the end-to-end suite keeps registry state (the recent
# files) and sends real input, which must not meet another suite's windows.
#   oktalon_windows_test(NAME SOURCES glob... LIBRARIES target...)
function(oktalon_windows_test name)
  cmake_parse_arguments(PARSE_ARGV 1 test "" "" "SOURCES;LIBRARIES")
  file(GLOB sources CONFIGURE_DEPENDS ${test_SOURCES})
  list(REMOVE_ITEM sources ${OKTALON_WIN_TEST_SUPPORT_SOURCES} ${OKTALON_E2E_DRIVER_SOURCES})
  if(NOT sources)
    message(FATAL_ERROR "${name}: no test sources match ${test_SOURCES}")
  endif()
  add_executable(${name} ${sources} ${OKTALON_RESOURCE_OBJECTS})
  target_link_libraries(${name} PRIVATE ${test_LIBRARIES} gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name}
             COMMAND bash ${OKTALON_WINEBED} --bed ${CMAKE_BINARY_DIR}/winebed-${name} --display --
                     $<TARGET_FILE:${name}> --gtest_brief=1)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 1200 RUN_SERIAL TRUE)
endfunction()

# The Windows-class tests also start the real program as a process (ShellProcessTests.cpp), with
# the driver's help, which their support brings; the end-to-end tests link the driver alone.
oktalon_windows_test(oktalon_win_tests SOURCES tests/win/*.cpp LIBRARIES oktalon_win_test_support)
oktalon_windows_test(oktalon_e2e_tests SOURCES tests/e2e/*.cpp LIBRARIES oktalon_e2e_driver)
# Both suites start the real program as a child process.
add_dependencies(oktalon_win_tests oktalon)
add_dependencies(oktalon_e2e_tests oktalon)
set_tests_properties(oktalon_e2e_tests PROPERTIES ENVIRONMENT "OKTALON_EXE=$<TARGET_FILE:oktalon>")
# Text search under a UTF-8 ANSI code page: the end-to-end case for it, in a bed whose locale
# gives Wine that code page.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME oktalon_e2e_utf8_tests
           COMMAND bash ${OKTALON_WINEBED} --bed ${CMAKE_BINARY_DIR}/winebed-oktalon_e2e_utf8_tests --display
                   --locale hi_IN.UTF-8 -- $<TARGET_FILE:oktalon_e2e_tests> --gtest_brief=1
                   --gtest_filter=Searching.TextUnderAUtf8CodePage*)
  set_tests_properties(oktalon_e2e_utf8_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
                       ENVIRONMENT "OKTALON_EXE=$<TARGET_FILE:oktalon>;OKTALON_E2E_UTF8=1")
endif()
# The view and the toolbar at the DPI of a display scaled to 125, 150 and 200 %, in one bed set to
# each in turn (the whole class suite runs at 96 DPI).
if(CMAKE_CROSSCOMPILING)
  foreach(dpi 120 144 192)
    add_test(NAME oktalon_dpi${dpi}_tests
             COMMAND bash ${OKTALON_WINEBED} --bed ${CMAKE_BINARY_DIR}/winebed-oktalon_dpi_tests --display
                     --dpi ${dpi} -- $<TARGET_FILE:oktalon_win_tests> --gtest_brief=1
                     --gtest_filter=DisplayScale*:DockingTest.TheButtons*)
    set_tests_properties(oktalon_dpi${dpi}_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  endforeach()
endif()
# The README's first command, run as written on a file with blanks and Czech letters in its name:
# once as this machine runs it, once on the path of a machine that cannot run 32-bit programs.
if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME readme_first_command
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/readme_first_command.sh ${CMAKE_BINARY_DIR}/..)
  add_test(NAME readme_first_command_wine64_only
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/readme_first_command.sh --wine64-only
                   ${CMAKE_BINARY_DIR}/..)
  set_tests_properties(readme_first_command readme_first_command_wine64_only PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
# The built program read as a Windows engineer reads it, without running it: the manifest, the
# header's oldest Windows, no debug sections (and the debug file that reads a crash address), and
# every import in the checked-in list with its documented minimum (tests/binary/).
if(MINGW)
  find_program(OKTALON_PYTHON python3 REQUIRED)
  add_test(NAME oktalon_binary_tests
           COMMAND ${OKTALON_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/tests/binary/check_exe.py ${OKTALON_RELEASE_ARCH}
                   $<TARGET_FILE:oktalon> ${OKTALON_DEBUG_FILE} ${CMAKE_CURRENT_SOURCE_DIR}/tests/binary/imports.txt
                   ${OKTALON_MINGW_TRIPLE}-)
endif()
include(tests/reliability/CMakeLists.txt)
if(MINGW)
  include(cmake/Packaging.cmake)
  include(tests/install/CMakeLists.txt)
endif()
add_subdirectory(bench)
