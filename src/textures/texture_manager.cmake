# The texture manager: named textures on the device, made from the pictures vireline_images decodes.
vireline_library(vireline_textures
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/texture_alpha.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_select.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_surface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_upload.cpp
  DEPS vireline_images vireline_render vireline_platform)
