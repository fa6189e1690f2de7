# vidarkon-sample: sample catalogue files at every patch level, written with
# SQLite alone (or as Access files, by the writer in sample/access/) so that
# they check the engine layer from outside. The library
# `sample` lets tests and benchmarks make the same files from C++.
include(${CMAKE_CURRENT_LIST_DIR}/sample/access/sources.cmake)
add_library(sample STATIC)
target_include_directories(sample PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sample PUBLIC SQLite::SQLite3 access_sample)
include(${CMAKE_CURRENT_LIST_DIR}/sample/sources.cmake)

add_executable(vidarkon-sample ${CMAKE_CURRENT_LIST_DIR}/sample/main.cpp)
target_link_libraries(vidarkon-sample PRIVATE sample)
install(TARGETS vidarkon-sample RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
