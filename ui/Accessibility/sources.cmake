# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/roles.cpp
)
