# Installing Vellora like a Linux program, and its Debian package.
#
#   bin/vellora, bin/vellora-cli
#   lib/vellora/libtwain_32.so                                                        the scanner manager
#   share/vellora/data/{main,music,speaker,studio}.evb, share/vellora/designs/*.evl   the default data
#   share/applications/vellora.desktop, share/metainfo/org.vellora.Vellora.metainfo.xml
#   share/icons/hicolor/NxN/apps/vellora.png                                          painted by vellora-discicon
#   share/man/man1/vellora-cli.1.gz
#
# The program finds its data in ../share/vellora from its own folder (platform/ProgramFolders), so an installed
# tree works wherever its prefix is. `cpack -G DEB` (make package) builds vellora_<version>_amd64.deb with the
# runtime dependencies that dpkg-shlibdeps finds.
#
# The default data: the release build writes it to bin/ (target vellora-data). Builds that do not run the data
# kit (the sanitizer build of the tests) install it from VELLORA_INSTALL_DATA_FROM, which the package test fills
# with the kit first.

include(GNUInstallDirs)

set(VELLORA_RELEASE_DATE "2026-12-07")
set(VELLORA_ICON_SIZES 16 22 24 32 48 64 128 256)
if(TARGET vellora-data)
  set(VELLORA_INSTALL_DATA_FROM ${CMAKE_BINARY_DIR}/bin)
else()
  set(VELLORA_INSTALL_DATA_FROM ${CMAKE_BINARY_DIR}/package-data)
endif()

# Where the installed program looks for its data, relative to its own folder.
file(RELATIVE_PATH VELLORA_SHARE_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/vellora)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/ProgramFolders.cpp PROPERTIES
  COMPILE_DEFINITIONS VELLORA_SHARE_FROM_PROGRAM="${VELLORA_SHARE_FROM_PROGRAM}")

# The program's icon at every size the desktops ask for.
set(VELLORA_ICONS)
foreach(size ${VELLORA_ICON_SIZES})
  set(icon ${CMAKE_BINARY_DIR}/generated/icons/${size}x${size}/vellora.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:vellora-discicon> --program-icon ${size} ${icon}
    DEPENDS vellora-discicon
    COMMENT "Painting the program icon ${size}x${size}"
    VERBATIM)
  list(APPEND VELLORA_ICONS ${icon})
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/packaging/org.vellora.Vellora.metainfo.xml
  ${CMAKE_BINARY_DIR}/generated/org.vellora.Vellora.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vellora-cli.1 ${CMAKE_BINARY_DIR}/generated/vellora-cli.1 @ONLY)
set(VELLORA_MAN_PAGE ${CMAKE_BINARY_DIR}/generated/vellora-cli.1.gz)
add_custom_command(OUTPUT ${VELLORA_MAN_PAGE}
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/generated/vellora-cli.1
  DEPENDS ${CMAKE_BINARY_DIR}/generated/vellora-cli.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(vellora-install-files ALL DEPENDS ${VELLORA_ICONS} ${VELLORA_MAN_PAGE})

# Only the files the kit writes: a portable run from bin/ may have left a studio record or designs of the
# developer's own there. The kit lists the designs it wrote in designs/.datakit-designs, which is read when
# installing, as the designs' file names come from inside their sources.
set(VELLORA_DATA_FILES main.evb music.evb speaker.evb studio.evb)
list(TRANSFORM VELLORA_DATA_FILES PREPEND ${VELLORA_INSTALL_DATA_FROM}/data/)
set(VELLORA_DESIGNS_FROM ${VELLORA_INSTALL_DATA_FROM}/designs)

install(TARGETS vellora vellora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The scanner manager, which the program loads at run time from ../lib/vellora (imaging/TTwainAcquire).
install(TARGETS twain_32 LIBRARY DESTINATION lib/vellora)
install(FILES ${VELLORA_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/vellora/data)
install(CODE "
  file(STRINGS \"${VELLORA_DESIGNS_FROM}/.datakit-designs\" designs)
  if(NOT designs)
    message(FATAL_ERROR \"No designs listed in ${VELLORA_DESIGNS_FROM}/.datakit-designs: run the data kit first\")
  endif()
  list(TRANSFORM designs PREPEND \"${VELLORA_DESIGNS_FROM}/\")
  file(INSTALL \${designs} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/vellora/designs\")
")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vellora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/generated/org.vellora.Vellora.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${VELLORA_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/generated/icons/${size}x${size}/vellora.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${VELLORA_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vellora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn wedding and family photographs into an interactive album on a disc")
# Debian wants the long description in lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Vellora makes an interactive album from wedding and family photographs:"
  "a short wizard starts a project, the album is filled page by page from a"
  "visual design, every photograph is cropped and corrected for its place,"
  "and background music is chosen. Finishing writes a disc folder that plays"
  "the album in any web browser and with its own player. Vellora also prints"
  "disc labels and makes a video of the album.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vellora maintainers <maintainers@vellora.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: Qt's platform plugins are loaded at run time, and the screens ask for Arial,
# which Liberation Sans stands in for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
