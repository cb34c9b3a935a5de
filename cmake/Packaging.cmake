# Packages of the Windows build: a portable ZIP and a 64-bit NSIS installer,
# both holding the program, the sample settings file and the user README.
# tools/package.sh builds them.
# Packaging needs the program only, not every test program built first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS Tarvick RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/data/Tarvick/Tarvick.ini DESTINATION data/Tarvick)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Tarvick)
set(CPACK_PACKAGE_VENDOR Tarvick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Composes and starts CHKDSK, DISM and SFC")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarvick)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_GENERATOR "ZIP;NSIS")
# The program is stripped when linked (CMakeLists.txt): stripping it again
# would only stamp a new time into it, and the packages ship the build's file.
set(CPACK_STRIP_FILES OFF)

# The own NSIS.template.in in packaging/ replaces CPack's: its uninstaller
# would delete every installed file, the edited settings file included.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/app/res/Tarvick.ico)

include(CPack)
