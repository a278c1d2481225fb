# Cross-builds the arm64 Linux modules, tools and tests with Debian's
# aarch64-linux-gnu compilers against the arm64 libraries that multiarch puts
# in /usr/lib/aarch64-linux-gnu; the tests run here under qemu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(KELDRA_ARM64_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${KELDRA_ARM64_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KELDRA_ARM64_TRIPLE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${KELDRA_ARM64_TRIPLE})

# The cross C library, and the multiarch folders under /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${KELDRA_ARM64_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the arm64 libraries only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${KELDRA_ARM64_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The programs find the arm64 C library where multiarch installs it, beside
# its loader. Not with -L /usr/aarch64-linux-gnu: that takes the cross
# toolchain's loader with multiarch's C library, a mismatched pair under which
# a locked mutex spins for ever.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
