# Model and UI libraries, and the build rules that keep widgets out of the model (included by the
# top-level CMakeLists.txt, and by tests/layers to check these rules themselves).
#
# The document (page, objects, readers, writers, renderers) lives in model libraries that link Qt Gui and
# other model libraries only; what shows a window (widgets, dialogs, the print dialogs) lives in UI
# libraries over them. Headless runs and fuzz targets that link model libraries alone then carry no widget.
#
# plennix_add_library(<folder> [UI <name>...] [LINKS <library>...] [UI_LINKS <library>...])
#   Makes the static libraries of src/<folder> from every .cpp and .h there:
#   plennix_<folder>     the model part: every file whose base name matches none of the UI names (regular
#                        expressions matched against the whole name, "properties_.*"); links LINKS.
#   plennix_<folder>_ui  the UI part, only when some file matches: the matching files; links
#                        plennix_<folder>, the UI part of every library in LINKS that has one, Qt6::Widgets
#                        and UI_LINKS.
#   A folder whose widgets are not yet separated says UI .* (every file is UI): it stays one library,
#   plennix_<folder>, linking LINKS and UI_LINKS with widgets and not checked as a model, and
#   plennix_<folder>_ui names that same library. Separating it later is a two-line change: the real UI
#   names in place of .*, and the widget-only libraries moved from LINKS to UI_LINKS. Dependents that
#   already name plennix_<folder>_ui for their own UI part need no change.
#
# Each library sees only its own headers and those of the libraries it links. Its include folder in the
# build tree, include/<target>/<folder>/, holds a link per header of its own part, so "calendar/x.h"
# resolves only for code that links the library holding x.h, and an include of a higher layer, or of
# the UI part from the model part, fails to compile. There is no global include path.
#
# A model library is checked when CMake configures (plennix_check_gui_only below): nothing in its link
# closure may be Qt6::Widgets or Qt6::PrintSupport or expose their include folders. Its sources also
# compile with a guard folder first on the include path whose QtWidgets and QtPrintSupport module headers
# stop the compiler, so that a widget header reached by its module path (<QtWidgets/QWidget>, through
# Qt's common include folder) fails to compile too.
set(PLENNIX_FORBIDDEN_IN_MODEL Qt6::Widgets Qt6::PrintSupport)
set(PLENNIX_MODEL_GUARD_DIR ${PROJECT_BINARY_DIR}/include/model_guard)
foreach(module QtWidgets:qtwidgetsglobal QtPrintSupport:qtprintsupportglobal)
  string(REPLACE ":" ";" parts ${module})
  list(GET parts 0 qt_module)
  list(GET parts 1 global_header)
  file(CONFIGURE OUTPUT ${PLENNIX_MODEL_GUARD_DIR}/${qt_module}/${global_header}.h CONTENT
       "#error \"${qt_module} in a model library: the model links Qt Gui only; widgets and print dialogs belong in the folder's UI library (plennix_<folder>_ui)\"\n")
endforeach()

# Links in include/<target>/<folder>/ to the given headers, added as the target's public include folder.
# The folder is made anew at every configure, so that a header moved to the other part of its folder is
# no longer seen through this one.
function(plennix_expose_header_files target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(file IN LISTS ARGN)
    if(file MATCHES "\\.h$")
      get_filename_component(name ${file} NAME)
      file(CREATE_LINK ${file} ${root}/${folder}/${name} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# The whole of src/<folder> exposed through one link (the application, which has no model part).
function(plennix_expose_headers target folder)
  set(dir ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${dir}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${dir})
endfunction()

function(plennix_add_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "UI;LINKS;UI_LINKS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "plennix_add_library(${folder}): unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  file(GLOB model_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(ui_sources "")
  if(arg_UI)
    list(JOIN arg_UI "|" names)
    set(ui_pattern "/(${names})\\.(cpp|h)$")
    set(ui_sources ${model_sources})
    list(FILTER model_sources EXCLUDE REGEX "${ui_pattern}")
    list(FILTER ui_sources INCLUDE REGEX "${ui_pattern}")
  endif()
  # The UI parts of the libraries the model links: a UI part builds on the UI below it.
  set(ui_below "")
  foreach(library IN LISTS arg_LINKS)
    if(TARGET ${library}_ui)
      list(APPEND ui_below ${library}_ui)
    endif()
  endforeach()

  if(NOT model_sources)
    # Not separated yet: one library with widgets, under both names.
    add_library(plennix_${folder} STATIC ${ui_sources})
    plennix_expose_header_files(plennix_${folder} ${folder} ${ui_sources})
    target_link_libraries(plennix_${folder} PUBLIC ${arg_LINKS} ${ui_below} Qt6::Widgets ${arg_UI_LINKS})
    add_library(plennix_${folder}_ui INTERFACE)
    target_link_libraries(plennix_${folder}_ui INTERFACE plennix_${folder})
    return()
  endif()

  add_library(plennix_${folder} STATIC ${model_sources})
  plennix_expose_header_files(plennix_${folder} ${folder} ${model_sources})
  target_link_libraries(plennix_${folder} PUBLIC ${arg_LINKS})
  target_include_directories(plennix_${folder} BEFORE PRIVATE ${PLENNIX_MODEL_GUARD_DIR})
  set_property(GLOBAL APPEND PROPERTY PLENNIX_MODEL_LIBRARIES plennix_${folder})
  if(ui_sources)
    add_library(plennix_${folder}_ui STATIC ${ui_sources})
    plennix_expose_header_files(plennix_${folder}_ui ${folder} ${ui_sources})
    target_link_libraries(plennix_${folder}_ui PUBLIC plennix_${folder} ${ui_below} Qt6::Widgets ${arg_UI_LINKS})
  elseif(arg_UI_LINKS)
    message(FATAL_ERROR "plennix_add_library(${folder}): UI_LINKS without a UI part")
  endif()
endfunction()

# The targets a link entry names: $<LINK_ONLY:x> is x (it is still linked into every program), and the
# names inside other generator expressions count whatever their condition, so the check errs on the safe
# side. Directory markers (::@...) name nothing.
function(plennix_linked_targets entry out)
  set(found "")
  if(entry MATCHES "^::@")
  elseif(entry MATCHES "\\$<")
    string(REGEX MATCHALL "[A-Za-z0-9_.+-]+(::[A-Za-z0-9_.+-]+)?" words "${entry}")
    foreach(word IN LISTS words)
      if(TARGET ${word})
        list(APPEND found ${word})
      endif()
    endforeach()
  elseif(TARGET ${entry})
    list(APPEND found ${entry})
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Fails the configure when `target` reaches Qt Widgets or Qt Print Support: through its links, directly or
# through other libraries (the message names the chain), or through an include folder. `role` says what
# the target is, for the message.
function(plennix_check_gui_only target role)
  set(forbidden_dirs "")
  get_target_property(gui_dirs Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
  foreach(module IN LISTS PLENNIX_FORBIDDEN_IN_MODEL)
    get_target_property(dirs ${module} INTERFACE_INCLUDE_DIRECTORIES)
    list(REMOVE_ITEM dirs ${gui_dirs})
    list(APPEND forbidden_dirs ${dirs})
  endforeach()
  set(hint "Move what needs widgets to its folder's UI part (plennix_add_library's UI names), and link UI parts only from UI_LINKS or from UI parts.")
  set(seen ${target})
  set(queue ${target})
  string(MAKE_C_IDENTIFIER "${target}" id)
  set(chain_${id} ${target})
  while(queue)
    list(POP_FRONT queue current)
    string(MAKE_C_IDENTIFIER "${current}" id)
    set(chain "${chain_${id}}")
    # The target's own private links and include folders count as much as what it passes on.
    if(current STREQUAL target)
      get_target_property(entries ${current} LINK_LIBRARIES)
      get_target_property(include_dirs ${current} INCLUDE_DIRECTORIES)
    else()
      set(entries "")
      set(include_dirs "")
    endif()
    get_target_property(interface_entries ${current} INTERFACE_LINK_LIBRARIES)
    get_target_property(interface_dirs ${current} INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS include_dirs interface_dirs)
      if(dir IN_LIST forbidden_dirs)
        message(FATAL_ERROR "${target} is ${role} (Qt Gui only), but ${chain} has the include folder ${dir}. ${hint}")
      endif()
    endforeach()
    foreach(entry IN LISTS entries interface_entries)
      if(NOT entry OR entry MATCHES "-NOTFOUND$")
        continue()
      endif()
      plennix_linked_targets("${entry}" linked)
      foreach(next IN LISTS linked)
        if(next IN_LIST PLENNIX_FORBIDDEN_IN_MODEL)
          message(FATAL_ERROR "${target} is ${role} (Qt Gui only), but ${chain} links ${next}. ${hint}")
        endif()
        if(NOT next IN_LIST seen)
          list(APPEND seen ${next})
          list(APPEND queue ${next})
          string(MAKE_C_IDENTIFIER "${next}" next_id)
          set(chain_${next_id} "${chain} -> ${next}")
        endif()
      endforeach()
    endforeach()
  endwhile()
endfunction()

# Every model library made by plennix_add_library, checked.
function(plennix_check_model_libraries)
  get_property(model_libraries GLOBAL PROPERTY PLENNIX_MODEL_LIBRARIES)
  foreach(library IN LISTS model_libraries)
    plennix_check_gui_only(${library} "a model library")
  endforeach()
endfunction()
