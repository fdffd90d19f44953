# Tests of the windows with input fields and their shared take-over.
if(TARGET setup_windows)
  motrix_test(settings_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms/TakeOverTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/forms/FieldBindingTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/setup/SettingsWindowTest.cpp
    LIBS setup_windows)
endif()
if(TARGET maps_windows)
  motrix_test(learn_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/maps/LearnWindowTest.cpp
    LIBS maps_windows)
endif()
if(TARGET appui)
  motrix_test(system_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/SystemWindowTest.cpp
    LIBS appui)
endif()
# The windows against the KVT simulator on a fake port.
if(TARGET appui AND TARGET linkcore AND TARGET kvtsim
   AND EXISTS ${CMAKE_SOURCE_DIR}/src/link/SetupTransfer.cpp)
  motrix_test(windows_kvt_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/WindowsWithKvtTest.cpp
    LIBS appui linkcore kvtsim)
endif()
# Every window's layout at its design size.
if(TARGET appui)
  motrix_test(window_layout_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms/WindowLayoutTest.cpp
    LIBS appui)
endif()
# Not a test: shows one window at its design size for screenshots of the layouts.
if(TARGET appui)
  add_executable(window_shot ${CMAKE_CURRENT_LIST_DIR}/forms/WindowShot.cpp)
  target_link_libraries(window_shot PRIVATE appui testsupport)
endif()
