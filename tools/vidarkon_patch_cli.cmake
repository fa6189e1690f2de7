# vidarkon-patch-cli: the patch run on a terminal, for scripts and machines without a display.
add_library(patch_cli STATIC
  ${CMAKE_CURRENT_LIST_DIR}/cli/console_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/cli_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/check_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/polish_count.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/report_text.cpp)
target_include_directories(patch_cli PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(patch_cli PUBLIC patch app access)
add_executable(vidarkon-patch-cli ${CMAKE_CURRENT_LIST_DIR}/cli/main.cpp)
target_link_libraries(vidarkon-patch-cli PRIVATE patch_cli)
install(TARGETS vidarkon-patch-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
