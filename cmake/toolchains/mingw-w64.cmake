# Cross-builds the Windows program with Debian's MinGW-w64 for the processor that the including
# toolchain file sets in TARNWICK_MINGW_PROCESSOR (x86_64 or i686), with the POSIX thread model
# that std::thread and std::mutex need.
set(triplet ${TARNWICK_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARNWICK_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static libraries, not their DLLs' import libraries: the programs must not need zlib's or
# libgcrypt's DLLs beside them.
set(ZLIB_LIBRARY /usr/${triplet}/lib/libz.a CACHE FILEPATH "")
set(GCRYPT_LIBRARY /usr/${triplet}/lib/libgcrypt.a CACHE FILEPATH "")
set(GPG_ERROR_LIBRARY /usr/${triplet}/lib/libgpg-error.a CACHE FILEPATH "")
