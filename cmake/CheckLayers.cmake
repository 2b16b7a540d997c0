# Dependencies point inward: the core (common/, font/, charset/, subset/,
# recipe/, web/, and lvgl/ beneath subset/, seeing common/ alone)
# includes nothing of the command line or the window, and the command line
# nothing of the window. Included by the build, this file checks that on
# every build in which a source changed; run with -P, it is the check.

if(CMAKE_SCRIPT_MODE_FILE)
  function(forbid folders pattern)
    foreach(folder IN LISTS folders)
      file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
      foreach(file IN LISTS files)
        file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${pattern})/")
        if(lines)
          string(REPLACE "\"" "" lines "${lines}")
          message(SEND_ERROR "${file} includes a layer above its own: ${lines}")
        endif()
      endforeach()
    endforeach()
  endfunction()
  forbid("common;font;charset;subset;recipe;web" "cli|window|tests|bench")
  forbid("lvgl" "font|charset|subset|recipe|web|cli|window|tests|bench")
  forbid("common;font;charset;subset;recipe" "web")
  forbid("cli" "window|tests|bench")
  return()
endif()

set(checked ${CMAKE_BINARY_DIR}/layers.checked)
file(GLOB_RECURSE layered_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/common/*.h ${PROJECT_SOURCE_DIR}/common/*.cpp
  ${PROJECT_SOURCE_DIR}/font/*.h ${PROJECT_SOURCE_DIR}/font/*.cpp
  ${PROJECT_SOURCE_DIR}/charset/*.h ${PROJECT_SOURCE_DIR}/charset/*.cpp
  ${PROJECT_SOURCE_DIR}/subset/*.h ${PROJECT_SOURCE_DIR}/subset/*.cpp
  ${PROJECT_SOURCE_DIR}/lvgl/*.h ${PROJECT_SOURCE_DIR}/lvgl/*.cpp
  ${PROJECT_SOURCE_DIR}/recipe/*.h ${PROJECT_SOURCE_DIR}/recipe/*.cpp
  ${PROJECT_SOURCE_DIR}/web/*.h ${PROJECT_SOURCE_DIR}/web/*.cpp
  ${PROJECT_SOURCE_DIR}/cli/*.h ${PROJECT_SOURCE_DIR}/cli/*.cpp)
add_custom_command(OUTPUT ${checked}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -E touch ${checked}
  DEPENDS ${layered_sources} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Checking that includes point inward"
  VERBATIM)
add_custom_target(check_layers DEPENDS ${checked})
add_dependencies(vfc_core check_layers)
