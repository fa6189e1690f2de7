# render-main-window <folder>: PNG pictures of both tabs of the main window.
add_executable(render-main-window ${CMAKE_CURRENT_LIST_DIR}/render_main_window.cpp)
target_link_libraries(render-main-window PRIVATE app)
# The header shows the running executable's version: give the pictures the program's own.
vk_embed_version_resource(render-main-window)
