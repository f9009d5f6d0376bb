# Flags shared by every target. The race core is bit-exact: a fused multiply-add or
# fast-math reassociation would change the last bits of the physics, so both stay off.
add_compile_options(
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -Werror
  -ffp-contract=off
  -fno-fast-math
)

if(VIRETA_SANITIZE)
  add_compile_options(-D_GLIBCXX_ASSERTIONS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
