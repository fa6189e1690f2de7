# vk_add_test(<name> SOURCES ... LIBS ... [GUI])
# One GoogleTest executable; its cases are registered with ctest one by one.
# GUI tests get a main() with a QApplication and run on Qt's offscreen
# platform, so they need no display.
include(GoogleTest)
function(vk_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vk_test_support GTest::gtest GTest::gmock)
  if(ARG_GUI)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/gui_test_main.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(env "VK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data" "ASAN_OPTIONS=detect_leaks=1")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
