# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (POSIX threads: std::thread and
# std::mutex need them). The libraries come from the folder that tools/windows/libraries.sh builds:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
#         -DCMAKE_PREFIX_PATH="$(bash tools/windows/libraries.sh --prefix)"
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GLIMMORA_WINDOWS_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${GLIMMORA_WINDOWS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLIMMORA_WINDOWS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLIMMORA_WINDOWS_TRIPLE}-windres)

# Headers, libraries and packages from the target's folders only, never from the build machine's /usr
set(CMAKE_FIND_ROOT_PATH /usr/${GLIMMORA_WINDOWS_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# off_t of 64 bits, as on the Linux build: libmpg123 is built for it (its _64 functions), and
# mpg123.h picks those names only when the program asks for it too. C++ only: the C libraries'
# own builds set it where they need it.
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")

# The C and C++ runtimes go into each program and library: a player's Windows has neither
# libstdc++-6.dll nor libgcc_s_seh-1.dll nor libwinpthread-1.dll. -static makes the driver's own
# -lstdc++ and -lpthread take the static archives, and only the members a program uses: the one
# holding winpthread's version resource, used by none, stays out (taken whole, it gave every
# program and DLL a second version resource that hid their own). The libraries' DLLs still come in
# through their import libraries, which CMake names by their full paths.
set(GLIMMORA_WINDOWS_RUNTIME "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${GLIMMORA_WINDOWS_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${GLIMMORA_WINDOWS_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${GLIMMORA_WINDOWS_RUNTIME}")

# SFML is built static: its config then also brings FreeType, Vorbis, FLAC and the system libraries
set(SFML_STATIC_LIBRARIES TRUE CACHE BOOL "Link SFML statically")

# pkg-config (libmpg123, openal) reads the prefix's .pc files and none of the build machine's
set(GLIMMORA_WINDOWS_PC_DIRS "")
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND GLIMMORA_WINDOWS_PC_DIRS "${prefix}/lib/pkgconfig")
endforeach()
string(REPLACE ";" ":" GLIMMORA_WINDOWS_PC_DIRS "${GLIMMORA_WINDOWS_PC_DIRS}")
set(ENV{PKG_CONFIG_LIBDIR} "${GLIMMORA_WINDOWS_PC_DIRS}")
set(ENV{PKG_CONFIG_PATH} "")
unset(ENV{PKG_CONFIG_SYSROOT_DIR})

# Test discovery, ctest and try_run start the .exe files through Wine, the prefix's DLLs on its path
set(GLIMMORA_WINDOWS_DLL_DIRS "")
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND GLIMMORA_WINDOWS_DLL_DIRS "${prefix}/bin")
endforeach()
string(REPLACE ";" ":" GLIMMORA_WINDOWS_DLL_DIRS "${GLIMMORA_WINDOWS_DLL_DIRS}")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${GLIMMORA_WINDOWS_DLL_DIRS})
