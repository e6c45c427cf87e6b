# rastrify: page ranges and command line on the library, runs of the built program against a
# recording fake decoder, and an end-to-end export through the real decoder stand-in.
ocrsift_test(rastrify_unit_test
  SOURCES rastrify_page_range_test.cpp rastrify_command_line_test.cpp
  LIBS rastrify_core)
add_executable(fake_decoder fake_decoder/fake_decoder.cpp)
target_link_libraries(fake_decoder PRIVATE platform)
ocrsift_test(rastrify_run_test SOURCES rastrify_run_test.cpp LIBS rastrify_core)
target_compile_definitions(rastrify_run_test PRIVATE FAKE_DECODER_EXE="$<TARGET_FILE:fake_decoder>")
add_dependencies(rastrify_run_test rastrify fake_decoder)
# The decoder stand-in and the djvulibre tools it runs are Linux programs.
if(NOT WIN32)
  ocrsift_test(rastrify_export_test SOURCES e2e/rastrify_export_test.cpp LIBS rastrify_core)
  add_dependencies(rastrify_export_test rastrify)
endif()
