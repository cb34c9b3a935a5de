# Test programs of the cross build run under Wine, in a prefix private to this
# build folder. The prefix is created once by a fixture before any test: two
# first uses of a new prefix at the same time fail.
find_program(WINE_PROGRAM wine REQUIRED)
find_program(WINESERVER_PROGRAM wineserver REQUIRED)

set(TARVICK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# The Wine settings every run shares live in tests/wine/wine.env, which the
# shell scripts source; the tests' environment gets them from here. Each value
# is kept in a variable of its own: it may hold a ";".
set(TARVICK_WINE_ENV ${CMAKE_SOURCE_DIR}/tests/wine/wine.env)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARVICK_WINE_ENV})
file(STRINGS ${TARVICK_WINE_ENV} wine_env_lines REGEX "^export [A-Z_]+='[^']*'$")
set(TARVICK_WINE_VARIABLES "")
foreach(line IN LISTS wine_env_lines)
  string(REGEX MATCH "^export ([A-Z_]+)='([^']*)'$" line "${line}")
  list(APPEND TARVICK_WINE_VARIABLES ${CMAKE_MATCH_1})
  set(TARVICK_WINE_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
if(NOT TARVICK_WINE_VARIABLES)
  message(FATAL_ERROR "no settings read from ${TARVICK_WINE_ENV}")
endif()

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
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED WinePrefix TIMEOUT ${arg_TIMEOUT}
                                          ENVIRONMENT WINEPREFIX=${TARVICK_WINEPREFIX})
  foreach(variable IN LISTS TARVICK_WINE_VARIABLES)
    string(REPLACE ";" "\\;" value "${TARVICK_WINE_${variable}}")
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "${variable}=${value}")
  endforeach()
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${arg_ENVIRONMENT})
  if(arg_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK Display LABELS gui)
  endif()
endfunction()
