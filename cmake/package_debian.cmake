# A Debian package of both programs, the decoder stand-in and the man pages:
#   cmake --build build/default --target package     (or: cd build/default && cpack -G DEB)
# The stand-in decoder renders with djvulibre-bin and converts with netpbm, and ocrsift's
# script is meant for djvused, so the package depends on both.
include(GNUInstallDirs)
# The package holds what the build made (the programs and the man pages they bring with them);
# making it must not first build every test, one job at a time.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
# README links the reference pages as docs/*.md, so they keep that place beside it.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ocrsift)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "makes scanned DjVu books searchable from FineReader FRF work files")
set(CPACK_PACKAGE_DESCRIPTION
    "ocrsift reads the per-page FRF work files of FineReader 7.x (versions 6 and 10) and\
 writes a djvused script that sets the hidden text of every page of a DjVu document.\
 rastrify exports DjVu pages as image files through a decoder program.")
set(CPACK_PACKAGE_CONTACT "ocrsift developers <ocrsift@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The default preset keeps debug information; the package ships the programs without it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "djvulibre-bin, netpbm")
# The searchable-PDF and archive recipes of README.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qpdf, img2pdf, parallel")
# The C and C++ runtime libraries are added to the dependencies from the binaries.
find_program(OCRSIFT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(OCRSIFT_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
