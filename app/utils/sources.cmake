# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/elf_section.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_mask.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_utils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_bytes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pe_version_resource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_utils.cpp
)
