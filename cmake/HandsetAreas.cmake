# The handset's areas, lowest first, and the one way to define an area's library. An area
# links only areas listed before it, so the areas can never form a cycle; and it sees
# only the headers of the areas it links, so an include cannot reach past its links.
set(HANDSET_AREAS crt handset gdi resources kernel window registry session device shell)

# handset_include_root(<name> <out>) makes a root holding a single link, made here,
# platform/<name> -> the calling folder, and sets <out> to it.
function(handset_include_root name out)
  set(root ${CMAKE_BINARY_DIR}/handset_areas/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/platform)
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/platform/${name} SYMBOLIC)
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# handset_area(<area> [PUBLIC <area>...] [PRIVATE <area>...]) defines the static library
# platform_<area> in the calling folder. Its headers are reached as "platform/<area>/name.h"
# through an include root of its own; PUBLIC are the areas its headers include.
function(handset_area area)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PUBLIC;PRIVATE")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "handset_area(${area}): unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  list(FIND HANDSET_AREAS ${area} own)
  if(own EQUAL -1)
    message(FATAL_ERROR "handset_area(${area}): not one of HANDSET_AREAS (${HANDSET_AREAS})")
  endif()
  foreach(linked IN LISTS arg_PUBLIC arg_PRIVATE)
    list(FIND HANDSET_AREAS ${linked} below)
    if(below EQUAL -1 OR NOT below LESS own)
      message(FATAL_ERROR "handset area ${area} links ${linked}, which is not an area below it "
                          "(lowest first: ${HANDSET_AREAS})")
    endif()
  endforeach()

  handset_include_root(${area} root)

  # For the check that the library calls only into what it links (tests/platform).
  set(linked ${arg_PUBLIC} ${arg_PRIVATE})
  list(JOIN linked "," linked)
  set_property(GLOBAL APPEND PROPERTY HANDSET_AREA_LINKS "${area}=$<TARGET_FILE:platform_${area}>=${linked}")

  add_library(platform_${area} STATIC)
  target_include_directories(platform_${area} PUBLIC ${root})
  # The areas it names, which its tests link as it does (tests/platform).
  set_property(TARGET platform_${area} PROPERTY HANDSET_LINKED_AREAS ${arg_PUBLIC} ${arg_PRIVATE})
  list(TRANSFORM arg_PUBLIC PREPEND platform_)
  list(TRANSFORM arg_PRIVATE PREPEND platform_)
  target_link_libraries(platform_${area} PUBLIC platform_headers ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
endfunction()
