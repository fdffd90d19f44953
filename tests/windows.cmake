# Tests of the windows with input fields and their shared take-over.
motrix_test(settings_window_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms/TakeOverTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/forms/FieldBindingTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/setup/SettingsWindowTest.cpp
  LIBS setup_windows)
motrix_test(learn_window_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/maps/LearnWindowTest.cpp
  LIBS maps_windows)
motrix_test(system_window_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/SystemWindowTest.cpp
  LIBS appui)
# The windows against the KVT simulator on a fake port.
motrix_test(windows_kvt_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/WindowsWithKvtTest.cpp
  LIBS appui linkcore kvtsim)
# Every window's layout at its design size.
motrix_test(window_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms/WindowLayoutTest.cpp
  LIBS appui)
# Not a test: shows one window at its design size for screenshots of the layouts.
add_executable(window_shot ${CMAKE_CURRENT_LIST_DIR}/forms/WindowShot.cpp)
target_link_libraries(window_shot PRIVATE appui testsupport)
