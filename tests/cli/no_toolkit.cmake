# The program runs without any toolkit library: none among its dynamic dependencies, --json and
# a --csv sweep work, and a copy without the export module beside it refuses exports by name.
#   -DCLI=<program> -DDESIGN=<design file> -DWORK=<scratch folder>
find_program(READELF readelf REQUIRED)
execute_process(COMMAND ${READELF} -d "${CLI}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT dynamic MATCHES "\\(NEEDED\\)")
  message(FATAL_ERROR "readelf -d failed (${rc}):\n${dynamic}")
endif()
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
foreach(lib IN LISTS needed)
  if(lib MATCHES "libQt|libGL|libEGL|libxcb|libX11")
    message(FATAL_ERROR "raysketcher-cli needs ${lib}")
  endif()
endforeach()

execute_process(COMMAND "${CLI}" --settings "${DESIGN}" --json RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^{\"mode\":\"paraxial\",\"valid\":true")
  message(FATAL_ERROR "--json: exit ${rc}\n${out}\n${err}")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${CLI}" --settings "${DESIGN}" --sweep "a=-1000:-150:3" --csv
                        "${WORK}/sweep.csv" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(READ "${WORK}/sweep.csv" csv)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "" OR NOT csv MATCHES "^Objektweite: a \\[mm\\],Brennweite: f' \\[mm\\],Bildweite: a' \\[mm\\],.*\n-1000,100,111\\.11[0-9]*,.*\n-575,.*\n-150,100,300,")
  message(FATAL_ERROR "--csv: exit ${rc}\n${out}\n${err}\n${csv}")
endif()

# A copy of the program alone in a folder: no module beside it nor in ../lib*/raysketcher.
file(COPY "${CLI}" DESTINATION "${WORK}/bin")
get_filename_component(name "${CLI}" NAME)
execute_process(COMMAND "${WORK}/bin/${name}" --settings "${DESIGN}" --png "${WORK}/x.png"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 3 OR NOT err MATCHES "raysketcher-export\\.so\\) fehlt; gesucht wurde \"${WORK}/bin/raysketcher-export\\.so\", \"${WORK}/lib[^\"]*/raysketcher/raysketcher-export\\.so\"\\.\n$"
   OR EXISTS "${WORK}/x.png")
  message(FATAL_ERROR "missing module: exit ${rc}\n${err}")
endif()
# A module that is there but no library: named with the loader's reason, never a crash.
file(WRITE "${WORK}/bin/raysketcher-export.so" "kein Modul")
execute_process(COMMAND "${WORK}/bin/${name}" --settings "${DESIGN}" --svg "${WORK}/x.svg"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 3 OR NOT err MATCHES "\"${WORK}/bin/raysketcher-export\\.so\" lässt sich nicht laden: .+\n$")
  message(FATAL_ERROR "broken module: exit ${rc}\n${err}")
endif()
