# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
# The database and table components over the engine layer.
target_sources(db PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/database_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/same_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_size_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/definition_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/split_field_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tovask_ado_base.cpp
  ${CMAKE_CURRENT_LIST_DIR}/base_connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/base_structure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/base_compact.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compaction_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_dataset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_structure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_indexes.cpp
)
