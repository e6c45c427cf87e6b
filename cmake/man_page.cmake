# ocrsift_man_page(<page source> <program target>): installs a man page, compressed as Debian
# keeps them, into share/man/man<section>. The source names the version as @PROJECT_VERSION@,
# so that the project's version is written in one place. The page is made whenever its program
# is built, so that an install after building only the programs finds it. Windows builds ship
# no man pages.
include(GNUInstallDirs)
find_program(OCRSIFT_GZIP gzip)

function(ocrsift_man_page source program)
  if(WIN32)
    return()
  endif()
  get_filename_component(page ${source} NAME)
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${page})
  set(input ${CMAKE_CURRENT_BINARY_DIR}/${page})
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/${source} ${input} @ONLY)
  if(OCRSIFT_GZIP)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    # -n keeps name and time out of the archive, so the package is the same on every build.
    add_custom_command(OUTPUT ${output}
      COMMAND ${OCRSIFT_GZIP} -9nc ${input} > ${output}
      DEPENDS ${input}
      COMMENT "Compressing the man page ${page}")
    add_custom_target(man_${page} ALL DEPENDS ${output})
    add_dependencies(${program} man_${page})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  else()
    install(FILES ${input} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endif()
endfunction()
