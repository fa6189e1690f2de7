# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/application_title.cpp
  ${CMAKE_CURRENT_LIST_DIR}/art/app_art.qrc
  ${CMAKE_CURRENT_LIST_DIR}/artwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bevel_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/design_fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/flat_check_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_close_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_strip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input_pacer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markup_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plain_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xp_button.cpp
)
