# The Windows build: the stub setup.exe, and the programs the Wine tests run.
enable_language(RC)
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(core STATIC ${CORE_SOURCES} ${WIN32_SOURCES})

add_executable(setup WIN32 src/platform/win32/entry/winmain.cpp src/platform/win32/entry/lean_runtime.cpp
  src/platform/win32/entry/setup.rc)
target_link_libraries(setup PRIVATE core)
target_link_libraries(setup PRIVATE ole32)
target_link_options(setup PRIVATE -static -s -Wl,--gc-sections)
add_custom_command(TARGET setup POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:setup> -DLIMIT=250368 -P ${CMAKE_SOURCE_DIR}/cmake/print-size.cmake)

# Tests of the Win32 platform layer, run under Wine.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/win/gtest_notification.h)
file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp tests/contract/*.cpp)
if(WINDOWS_TEST_SOURCES)
  # With the stub's lean runtime, so that its replacements are tested too.
  add_executable(platform_tests ${WINDOWS_TEST_SOURCES} src/platform/win32/entry/lean_runtime.cpp)
  target_link_libraries(platform_tests PRIVATE core gtest_main)
  target_link_options(platform_tests PRIVATE -static)
endif()

# Probes that print what the Windows build computes, for Wine tests to hold against the system.
add_executable(zxplaceholders tests/probes/placeholders.cpp)
target_link_libraries(zxplaceholders PRIVATE core)
target_link_options(zxplaceholders PRIVATE -static)

# The driver that runs a setup under Wine, answers its message boxes and reports what it saw.
file(GLOB DRIVER_SOURCES CONFIGURE_DEPENDS tests/driver/*.cpp)
if(DRIVER_SOURCES)
  add_executable(zxdriver ${DRIVER_SOURCES})
  target_link_options(zxdriver PRIVATE -static)
endif()

# Extracts cabinets as the setup does, for the Wine test of the package builder's cabinets.
file(GLOB EXTRACT_SOURCES CONFIGURE_DEPENDS tests/fdi/*.cpp)
if(EXTRACT_SOURCES)
  add_executable(zxextract ${EXTRACT_SOURCES})
  target_link_libraries(zxextract PRIVATE core)
  target_link_options(zxextract PRIVATE -static)
endif()
add_subdirectory(examples/sample)  # the sample product and its staged package project
