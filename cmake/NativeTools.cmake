# A WebAssembly build runs the build's own programs (tools/) from a native build, since
# they draw with cairo and FreeType, which are not built for WebAssembly.
set(native_build "${PROJECT_SOURCE_DIR}/build/default")
if(DEFINED ENV{VIRETA_NATIVE_BUILD})
  set(native_build "$ENV{VIRETA_NATIVE_BUILD}")
endif()
set(VIRETA_NATIVE_BUILD "${native_build}" CACHE PATH "The native build whose tools make what a WebAssembly build embeds")
foreach(tool IN ITEMS artwork/make_artwork glyph_table/make_glyph_table)
  get_filename_component(name ${tool} NAME)
  set(location "${VIRETA_NATIVE_BUILD}/tools/${tool}")
  if(NOT EXISTS "${location}")
    message(FATAL_ERROR "${location} is missing: build it first "
                        "(cmake --build --preset default --target make_artwork make_glyph_table)")
  endif()
  add_executable(${name} IMPORTED)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${location}")
endforeach()
