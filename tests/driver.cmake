ocrsift_test(options_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp LIBS ocrsift_driver)
ocrsift_test(channels_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/channels_test.cpp LIBS ocrsift_diagnostics)
ocrsift_test(frf_stream_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/frf_stream_test.cpp LIBS ocrsift_frf)
ocrsift_test(page_number_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/page_number_test.cpp LIBS ocrsift_driver)
