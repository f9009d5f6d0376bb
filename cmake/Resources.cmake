# vireta_add_resources(<target> <file.rc> [DEPENDS <file>...])
#
# Compiles a resource script with llvm-rc into a .res and embeds it into <target>
# through a generated source that defines EmbeddedResources()
# (platform/resources/embedded_resources.h). The script is rebuilt when it, the headers
# it includes or the files it names change; files made by the build itself (say, images
# written by a tool) go after DEPENDS so that they exist before llvm-rc runs.
#
# Run with -P, this file is also the step that turns the .res into C++.

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DRES=<in.res> -DOUT=<out.cpp> -P Resources.cmake
  file(READ "${RES}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # 24 bytes a line keeps the generated file readable in a debugger.
  string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
  file(WRITE "${OUT}.tmp"
    "// Generated from ${RES} by cmake/Resources.cmake; do not edit.\n"
    "#include \"platform/resources/embedded_resources.h\"\n\n"
    "namespace {\n"
    "alignas(4) constexpr unsigned char kResources[] = {\n  ${bytes}\n};\n"
    "}  // namespace\n\n"
    "std::span<const std::byte> EmbeddedResources() { return std::as_bytes(std::span(kResources)); }\n")
  file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUT}.tmp")
  return()
endif()

find_program(VIRETA_LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED)
set(VIRETA_RESOURCES_CMAKE "${CMAKE_CURRENT_LIST_FILE}")
set(VIRETA_PLATFORM_DIR "${CMAKE_CURRENT_LIST_DIR}/..")

# Files a script names: #include "x" and single-file resources such as
# `1 BITMAP "car.bmp"`. Each is looked for beside the script, then in the binary dir.
function(_vireta_rc_inputs script out)
  file(STRINGS "${script}" lines REGEX
    "^[ \t]*(#[ \t]*include[ \t]+\"|[A-Za-z0-9_]+[ \t]+(BITMAP|ICON|CURSOR|RCDATA|HTML|MESSAGETABLE)[ \t]+\")")
  get_filename_component(dir "${script}" DIRECTORY)
  set(found "")
  foreach(line IN LISTS lines)
    if(line MATCHES "\"([^\"]+)\"")
      set(name "${CMAKE_MATCH_1}")
      if(EXISTS "${dir}/${name}")
        list(APPEND found "${dir}/${name}")
      elseif(EXISTS "${CMAKE_CURRENT_BINARY_DIR}/${name}")
        list(APPEND found "${CMAKE_CURRENT_BINARY_DIR}/${name}")
      endif()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(vireta_add_resources target script)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "DEPENDS")
  get_filename_component(script "${script}" ABSOLUTE)
  get_filename_component(dir "${script}" DIRECTORY)
  get_filename_component(stem "${script}" NAME_WE)
  set(res "${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}.res")
  set(cpp "${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_res.cpp")
  _vireta_rc_inputs("${script}" inputs)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")

  # Code page 65001: the script is UTF-8, so accented texts arrive as written.
  # "--" because llvm-rc reads a path such as /check/x.rc as its /C option.
  add_custom_command(
    OUTPUT "${res}"
    COMMAND "${VIRETA_LLVM_RC}" /C 65001 /I "${dir}" /I "${CMAKE_CURRENT_BINARY_DIR}" /FO "${res}" -- "${script}"
    DEPENDS "${script}" ${inputs} ${ARG_DEPENDS}
    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
    COMMENT "Compiling resources ${stem}.rc"
    VERBATIM)
  add_custom_command(
    OUTPUT "${cpp}"
    COMMAND "${CMAKE_COMMAND}" -DRES=${res} -DOUT=${cpp} -P "${VIRETA_RESOURCES_CMAKE}"
    DEPENDS "${res}" "${VIRETA_RESOURCES_CMAKE}"
    COMMENT "Embedding ${stem}.res"
    VERBATIM)
  target_sources(${target} PRIVATE "${cpp}")
  set_source_files_properties("${cpp}" TARGET_DIRECTORY ${target} PROPERTIES INCLUDE_DIRECTORIES "${VIRETA_PLATFORM_DIR}")
endfunction()
