# The layers, lowest first, and the folders each one's code may include from.
# Every product library sees only the folders of its own layer's row, so an
# include that goes the wrong way fails to build. "ports" is platform/ without
# any one desktop's own code: above the platform layer nothing knows whether
# it runs on X11.
set(dropwell_desktop_specific x11 wayland)
set(dropwell_layer_platform     platform)
set(dropwell_layer_core         ports core)
set(dropwell_layer_intake       ports core intake)
set(dropwell_layer_capture      ports core capture)
set(dropwell_layer_model        ports core intake capture model)
set(dropwell_layer_translations translations)
set(dropwell_layer_ui           ports core intake capture model translations ui)
set(dropwell_layer_media        ports core capture ui media)
set(dropwell_layer_app          ports core intake capture model translations ui media app)

# Builds the folder of links that is <target>'s whole view of the sources.
function(dropwell_layer_view target layer)
  if(NOT DEFINED dropwell_layer_${layer})
    message(FATAL_ERROR "${target}: no layer named ${layer}")
  endif()
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${view})
  foreach(folder IN LISTS dropwell_layer_${layer})
    if(folder STREQUAL "ports")
      file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${PROJECT_SOURCE_DIR}/platform
        ${PROJECT_SOURCE_DIR}/platform/*)
      list(REMOVE_ITEM entries ${dropwell_desktop_specific})
      file(MAKE_DIRECTORY ${view}/platform)
      foreach(entry IN LISTS entries)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/platform/${entry} ${view}/platform/${entry} SYMBOLIC)
      endforeach()
    else()
      cmake_path(GET folder PARENT_PATH parent)
      file(MAKE_DIRECTORY ${view}/${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()
