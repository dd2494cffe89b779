# Library search paths relative to each binary ($ORIGIN), never absolute: the run tree then runs from wherever
# it is copied (cp -a build/run /elsewhere), and the build's own programs still find the build's libraries.
#   build/bin/*, build/lib/*, build/testlibs/*, ...   ->  build/lib
#   run/game/brhost, run/lib/*                        ->  run/lib
# The plug-ins and game libraries copied into the run tree add their place there (br_add_run_tree_rpath).

# Every target defined in dir and below.
function(br_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    br_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# "$ORIGIN" followed by the way from folder to libdir.
function(br_origin_path folder libdir out)
  file(RELATIVE_PATH rel ${folder} ${libdir})
  if(rel STREQUAL "")
    set(${out} "$ORIGIN" PARENT_SCOPE)
  else()
    set(${out} "$ORIGIN/${rel}" PARENT_SCOPE)
  endif()
endfunction()

# Called once every target is known (deferred to the end of the top folder).
function(br_set_relative_runpaths)
  br_targets_below(${CMAKE_SOURCE_DIR} targets)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(folder ${t} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      get_target_property(folder ${t} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    if(NOT folder)
      get_target_property(folder ${t} BINARY_DIR)
    endif()
    set(libdir ${CMAKE_BINARY_DIR}/lib)
    if(DEFINED BR_RUN_DIR)
      string(FIND "${folder}/" "${BR_RUN_DIR}/" inRun)
      if(inRun EQUAL 0)
        set(libdir ${BR_RUN_DIR}/lib)
      endif()
    endif()
    br_origin_path(${folder} ${libdir} path)
    set_target_properties(${t} PROPERTIES BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "${path}")
  endforeach()
endfunction()

# A library that is also copied to folder (in the run tree) finds the run tree's libraries from there too.
function(br_add_run_tree_rpath target folder)
  br_origin_path(${folder} ${BR_RUN_DIR}/lib path)
  set_property(TARGET ${target} APPEND PROPERTY INSTALL_RPATH "${path}")
endfunction()
