# Flags shared by every target. The race core is bit-exact: a fused multiply-add or
# fast-math reassociation would change the last bits of the physics, so both stay off.
add_compile_options(
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -ffp-contract=off
  -fno-fast-math
)
# Errors in the presets and CI, where the compiler is known; a plain or packaged build
# must not break on the next compiler's new warnings.
option(VIRETA_WERROR "Treat warnings as errors" OFF)
if(VIRETA_WERROR)
  add_compile_options(-Werror)
endif()

if(VIRETA_SANITIZE)
  add_compile_options(-D_GLIBCXX_ASSERTIONS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
