# What the cross builds for Debian's ARM architectures share: built with
# Debian's cross compilers against this machine's libraries of the other
# architecture (dpkg --add-architecture), and run under qemu-user. The
# toolchain file that includes this sets CMAKE_SYSTEM_PROCESSOR,
# SBKIT_CROSS_TRIPLE (the GNU triple), SBKIT_CROSS_ARCH (Debian's name) and
# SBKIT_CROSS_QEMU (the emulator's program).

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_LIBRARY_ARCHITECTURE ${SBKIT_CROSS_TRIPLE})

find_program(SBKIT_CROSS_GCC ${SBKIT_CROSS_TRIPLE}-gcc-12 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(SBKIT_CROSS_GXX ${SBKIT_CROSS_TRIPLE}-g++-12 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_C_COMPILER ${SBKIT_CROSS_GCC})
set(CMAKE_CXX_COMPILER ${SBKIT_CROSS_GXX})
set(CMAKE_ASM_COMPILER ${SBKIT_CROSS_GCC})
# gobjc++-12-<triple> teaches the same drivers Objective-C and Objective-C++.
set(CMAKE_OBJC_COMPILER ${SBKIT_CROSS_GCC})
set(CMAKE_OBJCXX_COMPILER ${SBKIT_CROSS_GXX})

# GNUstep Base of another architecture cannot be installed beside the host's
# (its headers and library sit outside the multiarch folders, and its
# architecture-free parts are not marked for foreign use), so
# scripts/test-arm.sh unpacks its packages into a folder of the build; the
# cross runtime of the compiler comes next, then the machine's own
# multiarch folders.
set(SBKIT_CROSS_EXTRA_ROOT "${CMAKE_BINARY_DIR}/${SBKIT_CROSS_ARCH}-root" CACHE PATH
    "Unpacked ${SBKIT_CROSS_ARCH} packages that cannot be installed beside the host's")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SBKIT_CROSS_EXTRA_ROOT)
set(CMAKE_FIND_ROOT_PATH ${SBKIT_CROSS_EXTRA_ROOT} /usr/${SBKIT_CROSS_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the other architecture's descriptions (and the
# architecture-free ones).
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${SBKIT_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "/")
unset(ENV{PKG_CONFIG_PATH})

# Tests and programs of the build run under the emulator with this machine's
# own root as the library root: the loader, C library and the rest come from
# the multiarch folders, the unpacked libraries first. The cross toolchain's
# folder (/usr/<triple>) is no root to run in: its loader is of another C
# library release than the multiarch libc6, and the two together crash in
# pthread_create.
find_program(SBKIT_CROSS_EMULATOR ${SBKIT_CROSS_QEMU} NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SBKIT_CROSS_EMULATOR} -L /
    -E LD_LIBRARY_PATH=${SBKIT_CROSS_EXTRA_ROOT}/usr/lib)
