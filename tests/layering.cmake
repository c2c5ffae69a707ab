# The layers include only what lies below them:
#   platform/                nothing of engine/, form/, panels/, window/, replay/
#   engine/, form/, panels/  no Qt, nothing of window/, replay/ or platform/qt/
#   engine/                  nothing of form/ or panels/
# Run as: cmake -DROOT=<source dir> -P layering.cmake
set(bad "")
function(check dir pattern why)
  file(GLOB_RECURSE files "${ROOT}/${dir}/*.h" "${ROOT}/${dir}/*.cpp")
  foreach(f ${files})
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${pattern})")
    foreach(l ${lines})
      file(RELATIVE_PATH rel "${ROOT}" "${f}")
      list(APPEND bad "${rel}: ${l} (${why})")
    endforeach()
  endforeach()
  set(bad "${bad}" PARENT_SCOPE)
endfunction()
check(platform "engine/|form/|panels/|window/|replay/" "platform/ lies below everything")
foreach(d engine form panels)
  check(${d} "Q[A-Za-z]|window/|replay/|platform/qt/" "${d}/ is plain C++")
endforeach()
check(engine "form/|panels/" "the engine lies below the form and the panels")
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "includes across layers:\n${text}")
endif()
