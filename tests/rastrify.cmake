# rastrify: page ranges and command line on the library, runs of the built program against a
# recording fake decoder, and an end-to-end export through the real decoder stand-in.
ocrsift_test(rastrify_unit_test
  SOURCES rastrify_page_range_test.cpp rastrify_command_line_test.cpp
  LIBS rastrify_core)
ocrsift_test(rastrify_run_test SOURCES rastrify_run_test.cpp LIBS rastrify_core)
add_dependencies(rastrify_run_test rastrify)
ocrsift_test(rastrify_export_test SOURCES e2e/rastrify_export_test.cpp LIBS rastrify_core)
add_dependencies(rastrify_export_test rastrify)
