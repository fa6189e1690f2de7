# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/page_colors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_control_style.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tovask_page_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tovask_tab_bar.cpp
)
