# The FRF file builder: its own checks, the damaged-file corpus run through the parsers, and
# the program that regenerates the sample files in tests/data.
ocrsift_test(frf_builder_test SOURCES frf_builder_test.cpp LIBS frf_builder)
ocrsift_test(frf_damaged_corpus_test SOURCES frf_damaged_corpus_test.cpp
             LIBS frf_page_runner frf_builder)

# make_frf_samples <directory>: writes the sample files described in tests/data/README.md.
add_executable(make_frf_samples support/make_samples.cpp)
target_link_libraries(make_frf_samples PRIVATE frf_builder)
# Kept apart from the corpus: it caps every allocation of its process under AddressSanitizer.
ocrsift_test(frf_allocation_test SOURCES frf_allocation_test.cpp LIBS frf_page_runner frf_builder)
