target_sources(patch PRIVATE ${CMAKE_CURRENT_LIST_DIR}/run_patch.cpp)
