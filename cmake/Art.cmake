# Art made by the build: bitmaps, icons and cursors drawn by Python scripts
# with pycairo (tools/artgen holds the shared palette, type scale, drawing
# routines and file writers).
#
#   nimbulator_add_art(<name> SCRIPT <script.py> OUTPUTS <file>...)
#     runs the script once per build into ${CMAKE_BINARY_DIR}/art/<name>/;
#     the script makes every listed file in one run (it may make many).
#   nimbulator_use_art(<target> <file.rc> <name>...)
#     lets the resource script find those files by name and rebuilds it when
#     they change.
#
# Debian's /usr/bin/python3 is used on purpose: a python3 found first on PATH
# (pyenv, a virtualenv) usually lacks the python3-cairo package.
set(NIMBULATOR_ART_PYTHON /usr/bin/python3 CACHE FILEPATH
    "Python 3 with pycairo (Debian: python3-cairo) for the art generators")

set(NIMBULATOR_ARTGEN_DIR ${CMAKE_CURRENT_LIST_DIR}/../tools/artgen)
cmake_path(NORMAL_PATH NIMBULATOR_ARTGEN_DIR)

function(nimbulator_check_art_python)
  get_property(checked GLOBAL PROPERTY NIMBULATOR_ART_PYTHON_CHECKED)
  if(checked)
    return()
  endif()
  execute_process(COMMAND ${NIMBULATOR_ART_PYTHON} -c "import cairo"
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NIMBULATOR_ART_PYTHON} cannot import cairo; install python3-cairo "
                        "and fonts-dejavu-core (scripts/setup.sh does)")
  endif()
  set_property(GLOBAL PROPERTY NIMBULATOR_ART_PYTHON_CHECKED TRUE)
endfunction()

function(nimbulator_add_art name)
  cmake_parse_arguments(ART "" "SCRIPT" "OUTPUTS" ${ARGN})
  if(NOT ART_SCRIPT OR NOT ART_OUTPUTS)
    message(FATAL_ERROR "nimbulator_add_art(${name}): SCRIPT and OUTPUTS are required")
  endif()
  nimbulator_check_art_python()
  get_filename_component(script ${ART_SCRIPT} ABSOLUTE)
  set(dir ${CMAKE_BINARY_DIR}/art/${name})
  list(TRANSFORM ART_OUTPUTS PREPEND ${dir}/ OUTPUT_VARIABLE files)
  file(GLOB helpers CONFIGURE_DEPENDS ${NIMBULATOR_ARTGEN_DIR}/nimart/*.py)
  # Long output lists (hundreds of cursors) go through a file, not the
  # command line.
  set(list_file ${CMAKE_BINARY_DIR}/art/${name}.outputs)
  string(REPLACE ";" "\n" listed "${ART_OUTPUTS}")
  file(WRITE ${list_file}.in "${listed}\n")
  configure_file(${list_file}.in ${list_file} COPYONLY)
  add_custom_command(
    OUTPUT ${files}
    COMMAND ${CMAKE_COMMAND} -E env PYTHONPATH=${NIMBULATOR_ARTGEN_DIR} PYTHONDONTWRITEBYTECODE=1
            ${NIMBULATOR_ART_PYTHON} ${script} ${dir} @${list_file}
    DEPENDS ${script} ${helpers} ${list_file}
    COMMENT "Drawing art: ${name}"
    VERBATIM)
  add_custom_target(art_${name} DEPENDS ${files})
  set_target_properties(art_${name} PROPERTIES NIMBULATOR_ART_DIR ${dir}
                                               NIMBULATOR_ART_FILES "${files}")
endfunction()

function(nimbulator_use_art target rc_file)
  get_filename_component(rc ${rc_file} ABSOLUTE)
  foreach(name ${ARGN})
    get_target_property(dir art_${name} NIMBULATOR_ART_DIR)
    get_target_property(files art_${name} NIMBULATOR_ART_FILES)
    add_dependencies(${target} art_${name})
    # windres looks for the files a resource script names in its include
    # directories.
    target_include_directories(${target} PRIVATE ${dir})
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${files})
  endforeach()
endfunction()
