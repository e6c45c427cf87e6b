# The text rules shared by both programs (common/text), on every platform.
ocrsift_test(common_text_test SOURCES common_text_test.cpp LIBS common_text)
