# The document formats fed page by page, and the djvused script they write read by djvused.
ocrsift_test(document_formats_test
  SOURCES document_formats_test.cpp
  LIBS ocrsift_formats document_rules)
if(NOT WIN32)  # runs the Linux djvused
  ocrsift_test(djvused_script_test
    SOURCES e2e/djvused_script_test.cpp
    LIBS ocrsift_formats)
endif()
