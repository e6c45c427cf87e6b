# The one checker of PAGE documents and workspaces (fuzz/page_rules.h) and its command-line
# front end, for the unit tests, the end-to-end tests, scripts and the fuzz targets alike.
add_library(document_rules STATIC ${CMAKE_CURRENT_LIST_DIR}/xml_check.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/xml_tree.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/page_rules.cpp)
add_executable(workspace_rules ${CMAKE_CURRENT_LIST_DIR}/workspace_rules.cpp)
target_link_libraries(workspace_rules PRIVATE document_rules)
