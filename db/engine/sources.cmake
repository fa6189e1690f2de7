# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(db PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/case_fold.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalogue_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compaction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/connection_string.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/db_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/declared_type.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_value.cpp
  ${CMAKE_CURRENT_LIST_DIR}/msys_catalog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_collation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recordset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sqlite_handle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/structure_change.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_def.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_schema.cpp
  ${CMAKE_CURRENT_LIST_DIR}/value_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant.cpp
  ${CMAKE_CURRENT_LIST_DIR}/views_and_triggers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/writer_hold.cpp
)
