# The manual pages kaldra(1), kaldra-render(1) and kaldra-scene(5): made at
# build time by scdoc from their sources in docs/man, with the version filled
# in, and installed compressed as Debian's policy asks. The uncompressed pages
# stay in BUILD_DIR/man for `man -l`.

include(GNUInstallDirs)
find_program(KALDRA_SCDOC scdoc REQUIRED)
find_program(KALDRA_GZIP gzip REQUIRED)

set(kaldra_man_outputs)
foreach(page kaldra.1 kaldra-render.1 kaldra-scene.5)
  set(source ${PROJECT_BINARY_DIR}/man/${page}.scd)
  set(page_file ${PROJECT_BINARY_DIR}/man/${page})
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.scd ${source} @ONLY)
  # gzip -n leaves out the name and time, so the package builds the same twice.
  add_custom_command(OUTPUT ${page_file} ${page_file}.gz
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\" && \"$3\" -9 -n -c \"$2\" > \"$2.gz\""
      ${KALDRA_SCDOC} ${source} ${page_file} ${KALDRA_GZIP}
    DEPENDS ${source}
    COMMENT "Making the manual page ${page}"
    VERBATIM)
  list(APPEND kaldra_man_outputs ${page_file}.gz)
  string(REGEX REPLACE ".*\\." "" section ${page})
  install(FILES ${page_file}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(kaldra_man_pages ALL DEPENDS ${kaldra_man_outputs})
