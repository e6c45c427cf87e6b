# The number readers and writers (common/numeric), on every platform.
ocrsift_test(numeric_test SOURCES numeric_test.cpp LIBS common_numeric)
