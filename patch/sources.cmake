target_sources(patch PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/run_patch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_transaction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/films_level.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalogue_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/failure_cause.cpp
  ${CMAKE_CURRENT_LIST_DIR}/foreign_indexes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/structure_refusal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_lookup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/patch_components.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_rebuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/films_upgrade.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loans_upgrade.cpp)
