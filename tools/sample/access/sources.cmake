# The writer of Access (Jet 4) files, a library of its own: tests of the
# reader make their Access files with it.
add_library(access_sample STATIC
  ${CMAKE_CURRENT_LIST_DIR}/access_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/definition_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jet_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/properties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_sink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/usage_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/values.cpp
)
target_include_directories(access_sample PUBLIC ${PROJECT_SOURCE_DIR})
