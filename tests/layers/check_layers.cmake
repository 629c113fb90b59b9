# The layering rules of cmake/plennix_layers.cmake, tried on a small project (project/): a model library
# that links a UI part fails the configure naming the chain, a model source that includes a widget
# header by its module path fails to compile, and the model and UI parts of a folder build.
# Run as cmake -DMODULE=... -DWORK=... -DGENERATOR=... -DCXX=... -P check_layers.cmake.
set(project ${CMAKE_CURRENT_LIST_DIR}/project)
file(REMOVE_RECURSE ${WORK})

function(configure dir)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${project} -B ${dir} -G ${GENERATOR}
                          -DCMAKE_CXX_COMPILER=${CXX} -DPLENNIX_LAYERS_MODULE=${MODULE} ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(result ${result} PARENT_SCOPE)
  set(output "${out}${err}" PARENT_SCOPE)
endfunction()

function(build dir target)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(result ${result} PARENT_SCOPE)
  set(output "${out}${err}" PARENT_SCOPE)
endfunction()

configure(${WORK}/linked "-DHIGH_LINKS=plennix_low_ui")
string(REGEX REPLACE "[ \n]+" " " flat "${output}")
if(result EQUAL 0 OR NOT flat MATCHES "plennix_high is a model library \\(Qt Gui only\\), but plennix_high -> plennix_low_ui links Qt6::Widgets")
  message(FATAL_ERROR "A model library linking a UI part was not refused by name:\n${output}")
endif()

configure(${WORK}/built "-DHIGH_LINKS=plennix_low")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "A clean two-folder project did not configure:\n${output}")
endif()
build(${WORK}/built all)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The model and UI parts did not build:\n${output}")
endif()

configure(${WORK}/built "-DHIGH_WIDGET=ON")
build(${WORK}/built plennix_high)
if(result EQUAL 0 OR NOT output MATCHES "QtWidgets in a model library")
  message(FATAL_ERROR "A model source including <QtWidgets/QWidget> compiled:\n${output}")
endif()
file(REMOVE_RECURSE ${WORK})
