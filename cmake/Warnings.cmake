# Warnings are errors for every target of ours.
function(veldra_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast -Werror)
  endif()
endfunction()
