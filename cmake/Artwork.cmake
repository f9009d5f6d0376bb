# vireta_draw_icon(FILE SIZE): the program's icon drawn SIZE pixels square into FILE by
# make_artwork, whether built here or imported from the native build.
function(vireta_draw_icon file size)
  get_filename_component(folder "${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  add_custom_command(
    OUTPUT "${file}"
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:make_artwork> --icon-png "${file}" ${size}
    DEPENDS make_artwork
    COMMENT "Drawing the icon at ${size} pixels"
    VERBATIM)
endfunction()
