# Release packages of Windows builds: the two programs and a readme in one
# folder, as a ZIP and as an NSIS installer. scripts/release makes them.
if(NOT WIN32)
  return()
endif()

# The monitor starts procfix.exe from its own folder: a release build links
# both programs into bin/, as they are installed, and without symbols, so
# that bin/ holds exactly what the packages ship (a later strip would stamp
# each copy with its own time).
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  foreach(program spoolscope procfix)
    set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    target_link_options(${program} PRIVATE -s)
  endforeach()
endif()

# The readme is read with Notepad: CRLF line ends.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS spoolscope procfix RUNTIME DESTINATION . COMPONENT programs)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION . COMPONENT programs)

set(CPACK_PACKAGE_NAME spoolscope)
set(CPACK_PACKAGE_VENDOR "Spoolscope project")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Print server monitor and printer reset tool")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Spoolscope)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Spoolscope)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_VERBATIM_VARIABLES ON)
# Only the programs' component, whatever else the project installs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};spoolscope;programs;/")

# The installer: both programs in one folder under Program Files, a
# Start-menu shortcut to the monitor, an uninstaller that removes it all.
set(CPACK_NSIS_PACKAGE_NAME Spoolscope)
set(CPACK_NSIS_DISPLAY_NAME "Spoolscope ${PROJECT_VERSION}")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_INSTALLED_ICON_NAME spoolscope.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_CREATE_ICONS_EXTRA "CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\Spoolscope.lnk' '$INSTDIR\\spoolscope.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\$MUI_TEMP\\Spoolscope.lnk'")
# The maker's key too, which CPack's uninstaller leaves behind.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "DeleteRegKey SHCTX 'Software\\Spoolscope project\\Spoolscope'
  DeleteRegKey /ifempty SHCTX 'Software\\Spoolscope project'")
# makensis on Linux refuses CPack's BrandingText /TRIM: the line is ours.
set(CPACK_NSIS_DEFINES "BrandingText \"Spoolscope project\"")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  string(APPEND CPACK_NSIS_DEFINES "\nTarget amd64-unicode")
else()
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
endif()

include(CPack)
