# Installing and packaging. `cmake --install` puts the programs in bin/, their man pages in share/man/man1/
# (and maskburn's Japanese one in share/man/ja/man1/, where `man -L ja maskburn` finds it), the romfont Arduino
# library folder in share/maskburn/ and the READMEs and licence in share/doc/maskburn/.
# CPack makes a Debian package of that (dependencies from dpkg-shlibdeps) and, in the MinGW-w64 cross build,
# a Windows zip: maskburn.exe, the romfont folder, LICENSE.txt and both READMEs.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS maskburn RUNTIME DESTINATION .)
  install(DIRECTORY device/romfont DESTINATION .)
  install(FILES README.md README.ja.md DESTINATION .)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
else()
  install(TARGETS maskburn maskburn-subset maskburn-image RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(man_pages maskburn maskburn-subset maskburn-image)
  if(MASKBURN_VIEW)
    install(TARGETS maskburn-view RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND man_pages maskburn-view)
  endif()
  # Debian installs man pages and the changelog compressed; gzip -n keeps the bytes free of time stamps.
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging/ja)
  set(compressed)
  foreach(source IN ITEMS ${man_pages} ja/maskburn changelog)
    if(source STREQUAL "changelog")
      set(input ${PROJECT_SOURCE_DIR}/packaging/changelog)
      set(output ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
    else()
      set(input ${PROJECT_SOURCE_DIR}/docs/man/${source}.1)
      set(output ${PROJECT_BINARY_DIR}/packaging/${source}.1.gz)
    endif()
    add_custom_command(OUTPUT ${output} COMMAND gzip -9n -c ${input} > ${output} DEPENDS ${input}
                       COMMENT "Compressing ${source}")
    list(APPEND compressed ${output})
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  list(FILTER compressed EXCLUDE REGEX "changelog|/packaging/ja/")
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/ja/maskburn.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
  install(DIRECTORY device/romfont DESTINATION ${CMAKE_INSTALL_DATADIR}/maskburn)
  install(FILES README.md README.ja.md LICENSE packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME maskburn)
set(CPACK_PACKAGE_VENDOR "MASKBURN developers")
set(CPACK_PACKAGE_CONTACT "MASKBURN developers <maskburn@packages.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap fonts to a Japanese font ROM for embedded devices")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME maskburn-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"maskburn turns an 8x16 half-width BDF font and a 16x16 full-width JIS X 0208
font, such as the Shinonome fonts, into a ROM image for microcontrollers:
FONTINDEX.BIN (index tables) and FONTDATA.BIN (glyph bitmaps), with a report
in Shift_JIS that draws every glyph. maskburn-view draws a ROM as PNG pictures
or text art, maskburn-subset cuts a ROM down to the glyphs of a text, as
files or C source, and maskburn-image writes a ROM, whole or cut, as one image
to burn on a flash chip, an EEPROM or an SD card. The romfont C library for firmware (an Arduino library
folder) is in /usr/share/maskburn/romfont.")
endif()
include(CPack)
