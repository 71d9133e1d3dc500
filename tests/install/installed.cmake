# Installs the build into a fresh prefix outside the build folder (so that nothing can fall back on
# the build tree) and checks that everything a desktop program needs is there and that the
# installed programs find their own files.
#   -DBUILD=<build folder> -DEXAMPLE=<an example's file name> -DLIBDIR=<lib folder below the prefix>
set(base "$ENV{TMPDIR}")
if(NOT base)
  set(base /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(prefix "${base}/raysketcher-install-${tag}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE_RECURSE "${prefix}")
  message(FATAL_ERROR "cmake --install failed (${rc}): ${err}")
endif()

set(missing "")
foreach(f bin/raysketcher bin/raysketcher-cli
          share/raysketcher/SH_SEQ.dat share/raysketcher/SH_L1.dat
          share/raysketcher/examples/${EXAMPLE}
          share/applications/de.kestrelon.Raysketcher.desktop
          share/icons/hicolor/scalable/apps/de.kestrelon.Raysketcher.svg
          share/metainfo/de.kestrelon.Raysketcher.metainfo.xml
          share/man/man1/raysketcher.1.gz share/man/man1/raysketcher-cli.1.gz
          share/man/de/man1/raysketcher.1.gz share/man/de/man1/raysketcher-cli.1.gz
          share/locale/en/LC_MESSAGES/raysketcher.mo
          share/doc/raysketcher/copyright share/doc/raysketcher/index.html
          ${LIBDIR}/raysketcher/raysketcher-export.so)
  if(NOT EXISTS "${prefix}/${f}")
    list(APPEND missing ${f})
  endif()
endforeach()

# The installed command line reads the installed catalogue and examples.
execute_process(COMMAND "${prefix}/bin/raysketcher-cli" --list-lenses
                RESULT_VARIABLE lensRc OUTPUT_VARIABLE lenses ERROR_VARIABLE lensErr)
execute_process(COMMAND "${prefix}/bin/raysketcher-cli" --settings
                        "${prefix}/share/raysketcher/examples/${EXAMPLE}"
                RESULT_VARIABLE solveRc OUTPUT_VARIABLE solved ERROR_VARIABLE solveErr)
# ... and its English texts, found relative to the installed program.
execute_process(COMMAND "${prefix}/bin/raysketcher-cli" --lang en --settings
                        "${prefix}/share/raysketcher/examples/${EXAMPLE}"
                RESULT_VARIABLE englishRc OUTPUT_VARIABLE english ERROR_VARIABLE englishErr)
# ... and paints a picture through the installed export module.
execute_process(COMMAND "${prefix}/bin/raysketcher-cli" --settings
                        "${prefix}/share/raysketcher/examples/${EXAMPLE}" --png "${prefix}/bild.png"
                        --size 200x100
                RESULT_VARIABLE pngRc OUTPUT_QUIET ERROR_VARIABLE pngErr)
set(pngMade FALSE)
if(EXISTS "${prefix}/bild.png")
  set(pngMade TRUE)
endif()
file(REMOVE_RECURSE "${prefix}")

if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()
if(NOT lensRc EQUAL 0 OR NOT lenses MATCHES "^Code,Art,")
  message(FATAL_ERROR "the installed raysketcher-cli found no catalogue (${lensRc}): ${lensErr}")
endif()
if(NOT solveRc EQUAL 0 OR NOT solved MATCHES "Brennweite")
  message(FATAL_ERROR "the installed raysketcher-cli could not solve ${EXAMPLE}: ${solveErr}")
endif()
if(NOT englishRc EQUAL 0 OR NOT english MATCHES "Focal length")
  message(FATAL_ERROR "the installed raysketcher-cli found no English texts: ${englishErr}")
endif()
if(NOT pngRc EQUAL 0 OR NOT pngMade)
  message(FATAL_ERROR "the installed raysketcher-cli could not export a PNG (${pngRc}): ${pngErr}")
endif()
