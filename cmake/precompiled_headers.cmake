# The Windows and standard headers nearly every source of the program
# includes, parsed once per library instead of once per source: they are
# most of each file's compile time, and the first build is what a new
# clone's scripts/run waits for. Each library makes its own, so a library
# with a definition of its own never meets a header compiled without it.
function(grabwell_precompiled_headers target)
  target_precompile_headers(${target} PRIVATE
    "${CMAKE_SOURCE_DIR}/platform/win32.h" <algorithm> <cstdint> <functional> <memory>
    <optional> <string> <string_view> <vector>)
endfunction()
