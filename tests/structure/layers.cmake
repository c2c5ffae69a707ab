# The layers' include rules, checked over the sources:
#   engine/, form/ and panels/ use the standard library only: no Qt, nothing
#   of window/ or replay/; engine/ below form/ below panels/;
#   platform/ includes nothing above it (engine/, form/, panels/, window/,
#   replay/);
#   nothing outside platform/ includes Qt's platform headers (qpa, X11, xcb).
# Run as: cmake -DSOURCE_DIR=... -P layers.cmake
set(problems "")

function(check_folder folder forbidden)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(f ${files})
    file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      foreach(pattern ${forbidden})
        if(line MATCHES "${pattern}")
          # platform/qt is the Qt implementation of the platform layer.
          if(NOT (rel MATCHES "^platform/qt/" AND pattern MATCHES "^<Q"))
            list(APPEND problems "${rel}: ${line}")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(problems ${problems} PARENT_SCOPE)
endfunction()

set(qt "<Q" "<q[a-z]*/" "\"window/" "\"replay/")
check_folder(engine "${qt};\"form/;\"panels/")
check_folder(form "${qt};\"panels/")
check_folder(panels "${qt}")
check_folder(platform "<Q;\"engine/;\"form/;\"panels/;\"window/;\"replay/")

# Qt's platform headers belong to platform/qt alone (the end-to-end tests'
# own X clients, which stand for other programs, aside).
file(GLOB_RECURSE all ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(f ${all})
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
  if(rel MATCHES "^(build|platform/qt/|tests/e2e/)" OR rel MATCHES "/build")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*<(qpa/|X11/|xcb/|QtGui/qpa)")
  foreach(line ${lines})
    list(APPEND problems "${rel}: ${line}")
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "includes across the layers:\n  ${text}")
endif()
message(STATUS "the layers include only what lies below them")
