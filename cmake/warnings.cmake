# Warnings are errors for our own targets only; third-party code keeps its flags.
function(grabwell_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast -Werror)
  endif()
endfunction()

# Test sources: strict, but GoogleTest macros trip -Wold-style-cast style checks.
function(grabwell_test_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
  endif()
endfunction()
