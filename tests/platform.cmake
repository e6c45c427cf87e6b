# The Windows narrow-name services under explicit code pages.
if(WIN32)
  ocrsift_test(platform_code_page_test SOURCES platform_code_page_test.cpp LIBS platform)
endif()
