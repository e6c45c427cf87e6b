ocrsift_test(ocrsift_run_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e/ocrsift_run_test.cpp LIBS frf_builder)
# djvused and djvutxt are Linux programs, which the Windows build cannot run; the Windows
# ocrsift is fed to them by scripts/windows-djvused-e2e.sh instead.
if(NOT WIN32)
  ocrsift_test(searchable_book_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e/searchable_book_test.cpp LIBS frf_builder)
endif()
# The hOCR, ALTO, text and PDF formats read by OCRmyPDF and pdftotext, xmllint, djvutxt, and
# poppler, MuPDF, qpdf and Ghostscript.
if(NOT WIN32)
  ocrsift_test(output_formats_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e/output_formats_test.cpp
               LIBS frf_builder document_rules)
  target_compile_definitions(output_formats_test PRIVATE
    MAKE_FRF_BOOK_EXE="$<TARGET_FILE:make_frf_book>")
  add_dependencies(output_formats_test make_frf_book)
endif()
