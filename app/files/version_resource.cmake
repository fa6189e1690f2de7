# vk_embed_version_resource(<target>): embeds the program's version resource.
# The VS_VERSIONINFO block is computed by the compiler from a generated source
# and placed in the ELF section ".vk_version", where GetFileVersionText finds it.
function(vk_embed_version_resource target)
  set(VK_TARGET ${target})
  set(VK_SECTION ".vk_version")
  set(VK_VERSION_TEXT "${PROJECT_VERSION}")
  set(VK_VERSION_PARTS
      "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${PROJECT_VERSION_PATCH}, ${PROJECT_VERSION_TWEAK}")
  set(VK_LANGUAGE 1045)   # Polish
  set(VK_CODE_PAGE 1250)  # Central European
  set(VK_COMMENTS "Patch modyfikujący bazy w programie Vidarkon.")
  set(VK_COMPANY "Vidarkon")
  set(VK_DESCRIPTION "Patch QLT_${PROJECT_VERSION}-02_V")
  set(VK_INTERNAL_NAME "vidarkon-patch")
  set(VK_COPYRIGHT "Copyright © Vidarkon")
  set(VK_ORIGINAL_FILENAME "vidarkon-patch")
  set(VK_PRODUCT "Vidarkon Patch")

  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_resource.cpp)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version_resource.cpp.in ${generated} @ONLY)
  # Part of the executable itself: from a static library the unreferenced
  # object would never be linked in.
  target_sources(${target} PRIVATE ${generated})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
