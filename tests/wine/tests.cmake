# The Wine tests: the Windows build in WINDOWS_BUILD_DIR run under Wine. All of them share one
# fixture (an Xvfb and a Wine prefix under this build folder, tests/wine/start.sh and stop.sh)
# and run one at a time.
set(ZX_WINE_SCRIPTS ${CMAKE_CURRENT_LIST_DIR})
set(ZX_E2E_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/../e2e)
set(ZX_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(ZX_WINE_OUT ${CMAKE_BINARY_DIR}/wine-tests)
file(MAKE_DIRECTORY ${ZX_WINE_OUT})
set(ZX_WINE_ENVIRONMENT ZX_WINE_DIR=${ZX_WINE_STATE} ZX_WINDOWS_BUILD_DIR=${WINDOWS_BUILD_DIR})

add_test(NAME wine.start COMMAND bash ${ZX_WINE_SCRIPTS}/start.sh)
add_test(NAME wine.stop COMMAND bash ${ZX_WINE_SCRIPTS}/stop.sh)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
set_tests_properties(wine.start wine.stop PROPERTIES
  ENVIRONMENT "${ZX_WINE_ENVIRONMENT}" RESOURCE_LOCK wine)

# zx_wine_test(NAME TIMEOUT COMMAND...): a test under the fixture, with a scratch folder of its
# own (ZX_OUT_DIR) as its working folder.
function(zx_wine_test name timeout)
  add_test(NAME ${name} COMMAND ${ARGN} WORKING_DIRECTORY ${ZX_WINE_OUT})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT ${timeout}
    ENVIRONMENT "${ZX_WINE_ENVIRONMENT};ZX_OUT_DIR=${ZX_WINE_OUT}/${name}")
endfunction()

zx_wine_test(wine.platform_tests 300 bash ${ZX_WINE_SCRIPTS}/run.sh ${WINDOWS_BUILD_DIR}/platform_tests.exe)
zx_wine_test(wine.driver 120 bash ${ZX_WINE_SCRIPTS}/driver-check.sh)

file(GLOB ZX_E2E_TESTS CONFIGURE_DEPENDS ${ZX_E2E_SCRIPTS}/*.sh)
foreach(script ${ZX_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  zx_wine_test(e2e.${name} 300 bash ${script})
endforeach()
