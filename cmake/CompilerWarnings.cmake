# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(VK_WERROR)
  add_compile_options(-Werror)
endif()
if(VK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VK_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  # Coverage for libFuzzer in every library the targets link; the targets
  # themselves add libFuzzer's main (-fsanitize=fuzzer).
  add_compile_options(-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
