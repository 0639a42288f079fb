# Layers 1 to 3 (records, record store, domain logic) are plain C++ libraries: they never
# link Qt, so a Qt include there does not compile. Forms and the platform layer link Qt.

# tallymoor_library(NAME DIR [QT] [DEPS lib...]): one static library of the .cpp files
# directly in DIR.
function(tallymoor_library name dir)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport Qt6::Charts)
  endif()
endfunction()

# tallymoor_tests(NAME DIR [QT] [RESOURCE_LOCK name] [DEPS lib...]): one GoogleTest program
# of the .cpp files directly in DIR, each test case registered with CTest; cases that hold
# the same resource lock never run at the same time.
function(tallymoor_tests name dir)
  cmake_parse_arguments(ARG "QT" "RESOURCE_LOCK" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TALLYMOOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TALLYMOOR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} tallymoor_qt_test_main GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
endfunction()
