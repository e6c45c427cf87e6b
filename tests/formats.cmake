# The document formats fed page by page, and the djvused script they write read by djvused.
ocrsift_test(document_formats_test
  SOURCES document_formats_test.cpp
  LIBS ocrsift_formats document_rules)
if(NOT WIN32)  # runs the Linux djvused
  ocrsift_test(djvused_script_test
    SOURCES e2e/djvused_script_test.cpp
    LIBS ocrsift_formats)
endif()
# The rule checker of PAGE documents, which the other tests and the fuzz targets rely on.
ocrsift_test(page_rules_test
  SOURCES page_rules_test.cpp
  LIBS document_rules)
