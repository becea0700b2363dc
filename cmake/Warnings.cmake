# Warnings for our own targets: call talvora_warnings(target).
function(talvora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
