# render-message-windows <folder>: PNG pictures of the message window.
add_executable(render-message-windows ${CMAKE_CURRENT_LIST_DIR}/render_message_windows.cpp)
target_link_libraries(render-message-windows PRIVATE ui)
