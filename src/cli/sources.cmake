# The command line's own sources without its export loader: the program's library and the fuzz
# build (which stands in for the exports) both take this one list.
set(RAYSKETCHER_CLI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/cli.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/help_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/output_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/design_edits.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fit_and_lens.cpp)
