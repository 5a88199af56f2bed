# The posix thread model gives GoogleTest a working std::mutex; everything is
# linked statically so the exe runs without MinGW DLLs beside it.
set(CMAKE_C_COMPILER ${GRABWELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRABWELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GRABWELL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GRABWELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
