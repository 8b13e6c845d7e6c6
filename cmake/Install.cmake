# The install, described once. Every installer installs through `cmake --install`, one
# component at a time, into the tree it builds:
#
#   program   the program folder: the programs and the files shipped beside them
#             (TOLVEX_PROGRAM_FOLDER_FILES in resources/CMakeLists.txt)
#   option    the shipped option file, beside the program or in SYSCONFDIR
#   links     Linux: the programs on PATH, links in BINDIR to the program folder
#   man       Linux: the manual pages, their footer naming this version
#   desktop   Linux: the desktop entries; Exec= names the program in BINDIR, or what the
#             environment variable TOLVEX_DESKTOP_EXEC says (scripts/desktop-install)
#   icons     Linux: the icons, in the hicolor theme
#   metainfo  Linux: the AppStream metadata
#   readme    Windows: the zip's README.txt
#
# make install (scripts/desktop-install) installs them under a prefix and in the user's data
# folder; the Debian package (debian/rules) all of them into the package; the Windows package
# (scripts/windows-dist) program, option and readme into the zip's folder, and the installer
# takes its files from there. What those scripts add by hand is the registration: xdg-mime
# defaults and .registration, which option file is the user's, and the Windows registry.
include(GNUInstallDirs)

option(TOLVEX_SYSTEM_OPTION_FILE
  "Install the option file in SYSCONFDIR/tolvexgateway, with a link to it in the program folder" OFF)

set(_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
if(WIN32)
  # The package's folder is the program folder.
  set(_program_dir .)
  set(_programs TolvexGateway tolvex)
else()
  set(_program_dir lib/tolvexgateway)
  set(_programs tolvexgateway tolvex)
endif()

# program
install(TARGETS ${_programs} RUNTIME DESTINATION ${_program_dir} COMPONENT program)
if(TARGET tolvex_ui)
  install(TARGETS tolvex_ui LIBRARY DESTINATION ${_program_dir} COMPONENT program
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
list(TRANSFORM TOLVEX_PROGRAM_FOLDER_FILES PREPEND ${_bin}/ OUTPUT_VARIABLE _shipped)
install(FILES ${_shipped} DESTINATION ${_program_dir} COMPONENT program)
if(WIN32)
  # The licence with Windows' line ends, for Notepad.
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/package/LICENSE.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/package/LICENSE.txt DESTINATION . COMPONENT program)
endif()

# option
if(TOLVEX_SYSTEM_OPTION_FILE)
  set(_option_dir ${CMAKE_INSTALL_FULL_SYSCONFDIR}/tolvexgateway)
  install(FILES ${_bin}/tolvexgwoption.xml DESTINATION ${_option_dir} COMPONENT option)
  install(CODE "
    set(_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${_program_dir}/tolvexgwoption.xml\")
    message(STATUS \"Installing: \${_link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${_program_dir}\")
    file(CREATE_LINK \"${_option_dir}/tolvexgwoption.xml\" \"\${_link}\" SYMBOLIC)"
    COMPONENT option)
else()
  install(FILES ${_bin}/tolvexgwoption.xml DESTINATION ${_program_dir} COMPONENT option)
endif()

if(WIN32)
  # The version that scripts/windows-dist names the package with.
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/package/version CONTENT "@PROJECT_VERSION@\n" @ONLY)
  # readme
  set(VERSION ${PROJECT_VERSION})
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/README.txt
                 ${PROJECT_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/package/README.txt DESTINATION . COMPONENT readme)
  return()
endif()

# links: relative, so that they hold wherever the prefix is, or is reached from.
foreach(_program IN LISTS _programs)
  file(RELATIVE_PATH _target /${CMAKE_INSTALL_BINDIR} /${_program_dir}/${_program})
  install(CODE "
    set(_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${_program}\")
    message(STATUS \"Installing: \${_link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${_target}\" \"\${_link}\" SYMBOLIC)"
    COMPONENT links)
endforeach()

# man
set(VERSION ${PROJECT_VERSION})
foreach(_page tolvex.1 tolvexgateway.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${_page} ${PROJECT_BINARY_DIR}/man/${_page} @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT man)
endforeach()

# desktop: @EXEC@ is filled in at install time, when the prefix is known.
foreach(_entry tolvexgateway.desktop tolvexgateway-option.desktop tolvexgateway-open.desktop)
  install(CODE "
    set(_exec \"\$ENV{TOLVEX_DESKTOP_EXEC}\")
    if(_exec STREQUAL \"\")
      set(_exec \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tolvexgateway\")
    endif()
    file(READ \"${PROJECT_SOURCE_DIR}/resources/${_entry}.in\" _text)
    string(REPLACE \"@EXEC@\" \"\${_exec}\" _text \"\${_text}\")
    set(_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    message(STATUS \"Installing: \${_dir}/${_entry}\")
    file(MAKE_DIRECTORY \"\${_dir}\")
    file(WRITE \"\${_dir}/${_entry}\" \"\${_text}\")
    file(CHMOD \"\${_dir}/${_entry}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_dir}/${_entry}\")"
    COMPONENT desktop)
endforeach()

# icons
set(_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/resources/tolvexgateway-32.png
        DESTINATION ${_icons}/32x32/apps RENAME tolvexgateway.png COMPONENT icons)
install(FILES ${PROJECT_SOURCE_DIR}/resources/tolvexgateway.svg
        DESTINATION ${_icons}/scalable/apps COMPONENT icons)

# metainfo
install(FILES ${_bin}/org.example.TolvexGateway.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT metainfo)
