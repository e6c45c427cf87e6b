ocrsift_test(text_layer_writer_test
  SOURCES text_layer_writer_test.cpp
  LIBS ocrsift_textlayer)
if(NOT WIN32)  # runs the Linux djvused
  ocrsift_test(djvused_script_test
    SOURCES e2e/djvused_script_test.cpp
    LIBS ocrsift_textlayer)
endif()
