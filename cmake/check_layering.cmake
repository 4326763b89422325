# Fails when a file below the program includes a header of the program's own folder: the layers are
# app/ -> pages/ -> ui/ -> base/ (with engines/, suite/ and contracts/ beside them), never upwards.
# Run as: cmake -DROOT=<source folder> -P check_layering.cmake
set(offending "")
foreach(layer ui pages engines suite contracts base)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/*.rc)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
    if(lines)
      file(RELATIVE_PATH shown ${ROOT} ${file})
      list(APPEND offending "${shown}: ${lines}")
    endif()
  endforeach()
endforeach()
if(offending)
  list(JOIN offending "\n  " text)
  message(FATAL_ERROR "headers of app/ included below the program:\n  ${text}")
endif()
message(STATUS "no file below the program includes app/")
