# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
