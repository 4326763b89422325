# Build helpers shared by every folder of the project.

# The tests and benchmarks run through Wine in the build's private prefix.
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# Adds every sub-folder of <parent> that has a CMakeLists.txt, in name order.
function(lumaspan_add_subdirectories parent)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/${parent} ${CMAKE_SOURCE_DIR}/${parent}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${parent}/${child}/CMakeLists.txt)
      add_subdirectory(${parent}/${child})
    endif()
  endforeach()
endfunction()

# lumaspan_dll(<Name> DEF <exports.def> SOURCES <files...> [LIBS <libs...>])
#
# Builds <Name>.dll with undecorated exports and defines <Name>_api, the target its callers link.
# The .def file lists each export as the i686 stdcall name (Name@bytes); the x86_64 build drops the
# decoration. On i686 the exports are undecorated with --kill-at, and the import library comes from
# dlltool -k, because an import library written by the linker under --kill-at does not link.
function(lumaspan_dll name)
  cmake_parse_arguments(A "" "DEF" "SOURCES;LIBS" ${ARGN})
  set(def_in ${CMAKE_CURRENT_SOURCE_DIR}/${A_DEF})
  set(def_out ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  file(READ ${def_in} exports)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
  endif()
  file(WRITE ${def_out}.tmp "${exports}")
  configure_file(${def_out}.tmp ${def_out} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_in})

  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name} IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
  target_link_libraries(${name} PRIVATE contracts ${A_LIBS})
  target_link_options(${name} PRIVATE ${def_out})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${def_out})

  add_library(${name}_api INTERFACE)
  target_link_libraries(${name}_api INTERFACE contracts)
  # A target with the property LUMASPAN_DELAY_LOAD (the program) links the delay-load import
  # library instead: the DLL is loaded on its first call, so a page whose tool is never used costs
  # the running program nothing of it.
  set(delaylib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${name}_delay.a)
  set(kill_at "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at -k)
  endif()
  add_custom_command(OUTPUT ${delaylib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}
    COMMAND ${LUMASPAN_DLLTOOL} -d ${def_out} -y ${delaylib} ${kill_at} -D ${name}.dll
    DEPENDS ${def_out} VERBATIM)
  add_custom_target(${name}_delaylib DEPENDS ${delaylib})
  add_dependencies(${name}_delaylib ${name})
  add_dependencies(${name}_api ${name}_delaylib)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${name} PRIVATE -Wl,--kill-at)
    set(implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${name}_k.a)
    add_custom_command(OUTPUT ${implib}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}
      COMMAND ${LUMASPAN_DLLTOOL} -d ${def_out} -l ${implib} -k -D ${name}.dll
      DEPENDS ${def_out} VERBATIM)
    add_custom_target(${name}_implib DEPENDS ${implib})
    add_dependencies(${name}_implib ${name})
    add_dependencies(${name}_api ${name}_implib)
  else()
    set(implib ${name})
  endif()
  target_link_libraries(${name}_api INTERFACE
    $<IF:$<BOOL:$<TARGET_PROPERTY:LUMASPAN_DELAY_LOAD>>,${delaylib},${implib}>)
  set_property(GLOBAL APPEND PROPERTY LUMASPAN_DLLS ${name})
endfunction()

# lumaspan_gtest(<name> SOURCES <files...> [LIBS <libs...>] [XP] [RESOURCES <object library>])
#
# A GoogleTest executable run under Wine, one CTest test per case. With XP the same objects are
# linked a second time as <name>_xp.exe, which the test prefix runs as Windows XP; its cases carry
# the prefix "xp.". RESOURCES names an object library of compiled resources that replaces the test
# manifest (UI tests link the program's own resources, manifest included).
function(lumaspan_gtest name)
  cmake_parse_arguments(A "XP" "RESOURCES" "SOURCES;LIBS" ${ARGN})
  if(NOT A_RESOURCES)
    set(A_RESOURCES test_manifest)
  endif()
  add_library(${name}_objs OBJECT ${A_SOURCES})
  target_link_libraries(${name}_objs PUBLIC test_support ${A_LIBS})
  set(exes ${name})
  if(A_XP)
    list(APPEND exes ${name}_xp)
  endif()
  foreach(exe IN LISTS exes)
    add_executable(${exe} $<TARGET_OBJECTS:${A_RESOURCES}>)  # resources are linked as objects of the executable
    target_link_libraries(${exe} PRIVATE ${name}_objs)
    set(prefix "")
    if(exe MATCHES "_xp$")
      set(prefix "xp.")
    endif()
    gtest_discover_tests(${exe} TEST_PREFIX "${prefix}" DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 300 LABELS ${name})
  endforeach()
endfunction()

# The ready program folder: the program, every DLL, the skin, the data and the empty backup folders.
function(lumaspan_stage)
  get_property(dlls GLOBAL PROPERTY LUMASPAN_DLLS)
  set(dest ${LUMASPAN_STAGE_DIR})
  # The program folder gets the binaries without symbols and debug information (the static C++
  # runtime brings plenty): Wine copies every section of a mingw-built image into memory, so what a
  # binary carries counts in the program's working set. The test binaries keep theirs.
  set(copy_binaries)
  if(TARGET Lumaspan)
    list(APPEND dlls Lumaspan)
  endif()
  foreach(binary IN LISTS dlls)
    if(CMAKE_STRIP)
      list(APPEND copy_binaries COMMAND ${CMAKE_STRIP} --strip-all -o ${dest}/$<TARGET_FILE_NAME:${binary}> $<TARGET_FILE:${binary}>)
    else()
      list(APPEND copy_binaries COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${binary}> ${dest}/)
    endif()
  endforeach()
  set(copy_data)
  foreach(folder Res Data)
    if(EXISTS ${CMAKE_SOURCE_DIR}/res/${folder})
      list(APPEND copy_data COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/res/${folder} ${dest}/${folder})
    endif()
  endforeach()
  add_custom_target(stage ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dest}
    ${copy_binaries}
    ${copy_data}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dest}/Backup/Registry/FirstBackup
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dest}/Backup/Registry/FullBackup
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${dest}/Backup/Favorites/Internet Explorer"
    VERBATIM)
  if(dlls)
    add_dependencies(stage ${dlls})
  endif()
endfunction()

# lumaspan_page(SOURCES <files...> [LIBS <libs...>])
#
# A page folder's code goes into the program library (lumaspan_app, made in app/) together with the
# libraries it links; the .rc file beside the page's code is compiled into the program's resources.
function(lumaspan_page)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  foreach(source IN LISTS A_SOURCES)
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(GLOBAL APPEND PROPERTY LUMASPAN_PAGE_SOURCES ${path})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY LUMASPAN_PAGE_LIBS ${A_LIBS})
endfunction()
