# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_answerer.h
  ${CMAKE_CURRENT_LIST_DIR}/dialog_answerer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_kinds.h
  ${CMAKE_CURRENT_LIST_DIR}/message_kinds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_layout.h
  ${CMAKE_CURRENT_LIST_DIR}/message_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_art.h
  ${CMAKE_CURRENT_LIST_DIR}/message_art.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_label.h
  ${CMAKE_CURRENT_LIST_DIR}/message_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/top_bevel.h
  ${CMAKE_CURRENT_LIST_DIR}/top_bevel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_window.h
  ${CMAKE_CURRENT_LIST_DIR}/message_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_message_window.h
  ${CMAKE_CURRENT_LIST_DIR}/show_message_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/art/my_message_art.qrc
)
