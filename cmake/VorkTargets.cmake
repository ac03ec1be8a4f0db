# Source files whose names end like these hold windows (Qt); every other
# source file in an engine folder belongs to the engine library.
set(VORK_WINDOW_FILE_REGEX "_(window|dialog|box)\\.(cpp|h)$")

# vork_engine_library(<target> <folder> [<linked targets>...])
# A static library of every non-window source in <folder>.
function(vork_engine_library target folder)
  file(GLOB sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "${VORK_WINDOW_FILE_REGEX}")
  add_library(${target} STATIC ${sources} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARGN)
    target_link_libraries(${target} PUBLIC ${ARGN})
  endif()
endfunction()

# The window sources of an engine folder.
function(vork_window_sources out folder)
  file(GLOB sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources INCLUDE REGEX "${VORK_WINDOW_FILE_REGEX}")
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# vork_window_library(<target> <folders>...)
# A static library of the window sources of the engine folders: the layer
# between the shared widgets and the main window.
function(vork_window_library target)
  set(all)
  foreach(folder ${ARGN})
    vork_window_sources(sources ${folder})
    list(APPEND all ${sources})
  endforeach()
  add_library(${target} STATIC ${all} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC vork_widgets vork_core vork_compiler vork_analysis
                        vork_agreement vork_modify)
endfunction()

# vork_test_executable(<name> <folder> <links>...)
# One test program of every *_test.cpp in tests/<folder> (window tests
# excluded), registered with ctest test by test.
function(vork_test_executable name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*_test.cpp)
  list(FILTER sources EXCLUDE REGEX "_(window|dialog|box)_test\\.cpp$")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} vork_test_support GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vork_window_test_executable(<name> <folder> [ALL] [LINKS <targets>...])
# One test program of the window tests (*_window_test.cpp, *_dialog_test.cpp,
# *_box_test.cpp, or with ALL every *_test.cpp) in tests/<folder>, run
# offscreen. It links the windows and the test host (tests/support/qt), or
# the targets after LINKS.
function(vork_window_test_executable name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "ALL" "" "LINKS")
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*_test.cpp)
  if(NOT arg_ALL)
    list(FILTER sources INCLUDE REGEX "_(window|dialog|box)_test\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  if(NOT arg_LINKS)
    set(arg_LINKS vork_windows)
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/qt/qt_test_main.cpp)
  target_link_libraries(${name} PRIVATE ${arg_LINKS} vork_window_test_support GTest::gtest
                        GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vork_warnings_as_errors(<directory>)
# Makes every warning an error in the project's own source files, of every
# target made in <directory> and the directories below it. Files the build
# generates (the Qt meta-object code) and the headers of Qt and the test
# framework (included as system headers) keep their warnings as warnings,
# so a newer Qt or library cannot break the build.
function(vork_warnings_as_errors directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(sourceDir ${target} SOURCE_DIR)
    set(own)
    foreach(source ${sources})
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${sourceDir} NORMALIZE OUTPUT_VARIABLE path)
      cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${path} NORMALIZE inProject)
      cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${path} NORMALIZE generated)
      if(inProject AND NOT generated)
        list(APPEND own ${path})
      endif()
    endforeach()
    if(own)
      set_source_files_properties(${own} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS -Werror)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory ${subdirectories})
    vork_warnings_as_errors(${subdirectory})
  endforeach()
endfunction()
