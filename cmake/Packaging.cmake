# Installing Kaldra as a desktop program, and its Debian package.
#
#   cmake --install BUILD_DIR --prefix /usr   installs the files below
#   make package                              builds kaldra_<version>_<arch>.deb
#
# Included at the end of the top-level CMakeLists.txt, once every target exists.

include(GNUInstallDirs)

# The two programs. The renderer is installed only when its target exists, so
# that a tree without it still configures and builds the window; a package
# without it is never right, and scripts/package-test rejects one.
install(TARGETS kaldra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kaldra-render)
  install(TARGETS kaldra-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
  message(WARNING "kaldra-render is not defined: it will be neither installed nor packaged")
endif()

# The programs link only system libraries, so they carry no search path of their
# own once installed (qt_standard_project_setup would give them $ORIGIN/../lib,
# which Debian's policy asks packages not to set).
set_target_properties(kaldra PROPERTIES INSTALL_RPATH "")
if(TARGET kaldra-render)
  set_target_properties(kaldra-render PROPERTIES INSTALL_RPATH "")
endif()

# The date of this version, for the AppStream release and the Debian changelog.
set(KALDRA_RELEASE_DATE 2026-12-07)
set(KALDRA_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(KALDRA_PACKAGE_MAINTAINER "Kaldra developers <kaldra@example.org>"
  CACHE STRING "The Maintainer field of the Debian package and its changelog")

# The menu entry, its icon and the AppStream metadata that software centres
# show. The window shows the same SVG, compiled in. The menu entry opens scene
# files, whose type the shared MIME database learns from kaldra.xml (Debian's
# shared-mime-info rebuilds the database when a package installs one).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldra.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldra.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kaldra.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${PROJECT_SOURCE_DIR}/packaging/org.example.kaldra.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/packaging/org.example.kaldra.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/org.example.kaldra.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The copyright file (the licence, and those of what is compiled in) and the
# changelog, compressed, where Debian's policy puts them.
set(kaldra_changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${kaldra_changelog} @ONLY)
add_custom_command(OUTPUT ${kaldra_changelog}.gz
  COMMAND ${KALDRA_GZIP} -9 -n -f -k ${kaldra_changelog}
  DEPENDS ${kaldra_changelog}
  VERBATIM)
add_custom_target(kaldra_changelog ALL DEPENDS ${kaldra_changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${kaldra_changelog}.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kaldra)

# --- Debian package ----------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kaldra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The synopsis after Debian's custom: a lower-case phrase, no full stop.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "approximate Voronoi diagram of random line segments, drawn as you watch")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build type keeps debug information for the developers; the package does
# not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALDRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description; dpkg shows the synopsis above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Kaldra places a random set of non-crossing line segments in its window and
traces, pair by pair, the curves on which a point is equally far from two
segments: endpoint bisectors, angle bisectors and parabolas. The diagram grows
while you watch. kaldra-render draws the same picture without a window, from a
seed or a scene file, into a PNG file.")

# dpkg-shlibdeps reads the libraries the two programs link (Qt 6 Core, Gui and
# Widgets, the C++ runtime) and names the Debian packages that hold them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it cannot see, because it is loaded by name at run time:
#  fonts-dejavu-core  a font for the window's button, menus and messages (the
#                     canvas's labels are the program's own bitmaps); a
#                     machine without any font would show no text at all.
#  libqt6svg6         Qt's SVG icon engine, which draws the window icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libqt6svg6")

include(CPack)
