# Run with cmake -P: the test programs' paths keep a drive letter and get Wine's Z: otherwise.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/TestPath.cmake)
foreach(case "/work/shared/corpus|Z:/work/shared/corpus" "C:/msys64/src/a|C:/msys64/src/a"
             "d:/b|d:/b")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 given)
  list(GET case 1 wanted)
  tarvoline_test_path(got "${given}")
  if(NOT got STREQUAL wanted)
    message(FATAL_ERROR "${given} became ${got}, not ${wanted}")
  endif()
endforeach()
