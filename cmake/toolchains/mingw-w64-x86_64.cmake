# Cross-builds the Windows program with Debian's MinGW-w64 (x86_64), the POSIX thread model that
# std::thread and std::mutex need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static libraries, not their DLLs' import libraries: the programs must not need zlib's or
# libgcrypt's DLLs beside them.
set(ZLIB_LIBRARY /usr/x86_64-w64-mingw32/lib/libz.a CACHE FILEPATH "")
set(GCRYPT_LIBRARY /usr/x86_64-w64-mingw32/lib/libgcrypt.a CACHE FILEPATH "")
set(GPG_ERROR_LIBRARY /usr/x86_64-w64-mingw32/lib/libgpg-error.a CACHE FILEPATH "")
