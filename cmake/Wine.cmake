# Test programs of the cross build run under Wine, in a prefix private to this
# build folder. The prefix is created once by a fixture before any test: two
# first uses of a new prefix at the same time fail.
find_program(WINE_PROGRAM wine REQUIRED)
find_program(WINESERVER_PROGRAM wineserver REQUIRED)

set(TARVICK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/tests/wine/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

add_test(NAME wine_prefix_setup COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/prefix.sh setup ${TARVICK_WINEPREFIX})
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP WinePrefix TIMEOUT 180)
add_test(NAME wine_prefix_cleanup COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/prefix.sh cleanup ${TARVICK_WINEPREFIX})
set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP WinePrefix TIMEOUT 60)

# tarvick_wine_test(<name> COMMAND <args...> [GUI] [TIMEOUT <s>] [ENVIRONMENT <k=v>...])
# A test of the cross build under Wine. GUI tests take the pointer and the
# screen, so they never run side by side.
function(tarvick_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GUI" "TIMEOUT" "COMMAND;ENVIRONMENT")
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 120)
  endif()
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  set(env WINEPREFIX=${TARVICK_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" ${arg_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED WinePrefix TIMEOUT ${arg_TIMEOUT} ENVIRONMENT "${env}")
  if(arg_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK Display LABELS gui)
  endif()
endfunction()
