# The host build: the core against the simulated Windows, unit tests with sanitizers, the
# host tools, and the registration of the Wine tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
file(GLOB SIM_SOURCES CONFIGURE_DEPENDS src/platform/sim/*.cpp)
add_library(core_sim STATIC ${CORE_SOURCES} ${SIM_SOURCES})
target_compile_options(core_sim PUBLIC ${SANITIZE} -g)
target_link_options(core_sim PUBLIC ${SANITIZE})
target_link_libraries(core_sim PUBLIC PkgConfig::MSPACK)

enable_testing()
include(GoogleTest)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp tests/support/*.cpp tests/contract/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE core_sim gtest_main)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
target_compile_definitions(unit_tests PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()

# Wine tests: WINDOWS_BUILD_DIR holds the Windows build the tests run (see scripts/build.sh).
set(WINDOWS_BUILD_DIR "" CACHE PATH "Windows build whose programs the Wine tests run")
if(WINDOWS_BUILD_DIR)
  include(${CMAKE_SOURCE_DIR}/tests/wine/tests.cmake)
endif()
