ocrsift_test(ocrsift_run_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e/ocrsift_run_test.cpp LIBS frf_builder)
# djvused and djvutxt are Linux programs, which the Windows build cannot run; the Windows
# ocrsift is fed to them by scripts/windows-djvused-e2e.sh instead.
if(NOT WIN32)
  ocrsift_test(searchable_book_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e/searchable_book_test.cpp LIBS frf_builder)
endif()
