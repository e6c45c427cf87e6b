# The FRF parsers: pages composed in the test itself, and regions composed by the FRF builder.
ocrsift_test(frf_page_bytes_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frf_page_bytes_test.cpp
  LIBS frf_page_runner)
ocrsift_test(frf_header_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/frf_header_test.cpp
             LIBS frf_page_runner frf_builder)
ocrsift_test(frf_text_block_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/frf_text_block_test.cpp
             LIBS frf_page_runner frf_builder)
ocrsift_test(frf_frames_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/frf_frames_test.cpp
             LIBS frf_page_runner frf_builder)
