# The FRF file builder: its own checks, the damaged-file corpus run through the parsers, and
# the program that regenerates the sample files in tests/data.
ocrsift_test(frf_builder_test SOURCES frf_builder_test.cpp)
ocrsift_test(frf_damaged_corpus_test SOURCES frf_damaged_corpus_test.cpp LIBS ocrsift_driver)

# make_frf_samples <directory>: writes the sample files described in tests/data/README.md.
add_executable(make_frf_samples support/make_samples.cpp)
target_link_libraries(make_frf_samples PRIVATE test_support)
target_compile_definitions(make_frf_samples PRIVATE MAKE_FRF_SAMPLES)
# Kept apart from the corpus: it caps every allocation of its process under AddressSanitizer.
ocrsift_test(frf_allocation_test SOURCES frf_allocation_test.cpp LIBS ocrsift_driver)
