# Runs raysketcher-cli without --settings in a fresh, empty home and checks that it created
# nothing there (no configuration folder, no settings file). The program runs from a copy whose
# folder holds a folder named like the settings file, so that it turns to the per-user place
# even for root, who may write everywhere.
#   -DCLI=<program> -DWORK=<scratch folder>
set(home "${WORK}/home")
set(prog "${WORK}/prog")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${home}" "${prog}/Raysketcher.INI")
file(COPY "${CLI}" DESTINATION "${prog}")
get_filename_component(name "${CLI}" NAME)
foreach(args "--json" "--wavelengths")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${home} --unset=XDG_CONFIG_HOME
                          "${prog}/${name}" ${args}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(args STREQUAL "--json" AND NOT err MATCHES "home/.config/raysketcher/Raysketcher.INI")
    message(FATAL_ERROR "expected the per-user settings file to be looked for:\n${out}${err}")
  endif()
  file(GLOB_RECURSE left LIST_DIRECTORIES true "${home}/*")
  if(left)
    message(FATAL_ERROR "raysketcher-cli ${args} (exit ${rc}) created: ${left}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
