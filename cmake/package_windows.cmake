# Windows: an application manifest and version resources in both programs, and the zip that
# ships them (cmake --build --preset mingw --target package).

# The version as the resources write it: four numbers.
set(OCRSIFT_RC_PATCH 0)
if(PROJECT_VERSION_PATCH)
  set(OCRSIFT_RC_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(OCRSIFT_RC_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${OCRSIFT_RC_PATCH},0")
set(OCRSIFT_RC_VERSION_DOTS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${OCRSIFT_RC_PATCH}.0")

# ocrsift_windows_resources(<target> <description>): the manifest (long paths, no code page
# of its own) and the version information of one program.
function(ocrsift_windows_resources target description)
  set(OCRSIFT_RC_NAME ${target})
  set(OCRSIFT_RC_DESCRIPTION ${description})
  set(OCRSIFT_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/windows/${target}.manifest)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/program.manifest.in ${OCRSIFT_RC_MANIFEST}
                 @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/windows/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/windows/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/windows/${target}.rc APPEND PROPERTY
               OBJECT_DEPENDS ${OCRSIFT_RC_MANIFEST})
endfunction()

enable_language(RC)
ocrsift_windows_resources(ocrsift "Writes djvused scripts from FRF OCR work files")
ocrsift_windows_resources(rastrify "Exports DjVu pages as images through DjVuDecode.exe")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/windows/decoder-README.txt DESTINATION bin/decoder
        RENAME README.txt)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/windows/WINDOWS.txt DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
