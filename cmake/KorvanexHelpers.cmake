# Each layer is one static library made of every .cpp in its folder, so that adding a
# file never needs an edit here.
function(korvanex_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/src/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(korvanex_${name} STATIC ${sources})
  target_include_directories(korvanex_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set(libs)
  foreach(dep ${ARG_DEPS})
    if(TARGET korvanex_${dep})
      list(APPEND libs korvanex_${dep})
    else()
      list(APPEND libs ${dep})
    endif()
  endforeach()
  target_link_libraries(korvanex_${name} PUBLIC ${libs})
endfunction()

# Every *_test.cpp of a test folder is its own executable and its own ctest entry.
# Widget tests run offscreen; the shared main creates the QApplication.
function(korvanex_tests folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_helpers.cpp)
  foreach(test ${tests})
    get_filename_component(stem ${test} NAME_WE)
    set(target ${folder}_${stem})
    add_executable(${target} ${test} ${helpers})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} korvanex_test_support GTest::gtest Qt6::Test)
    add_test(NAME ${folder}.${stem} COMMAND ${target})
    set_tests_properties(${folder}.${stem} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
      TIMEOUT 300)
    # The end-to-end tests time replies on a real pseudo-terminal: keep other load off them.
    if(folder STREQUAL "integration")
      set_tests_properties(${folder}.${stem} PROPERTIES RUN_SERIAL TRUE)
    endif()
  endforeach()
endfunction()
