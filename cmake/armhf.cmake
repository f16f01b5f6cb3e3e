# The kit for the device's processor, 32-bit ARM with hardware floating
# point, built with Debian's cross compilers against the armhf libraries of
# this machine (dpkg --add-architecture armhf), and run under qemu-arm:
#
#   cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
#
# scripts/test-arm.sh installs what this needs, builds and runs the tests.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(SBKIT_ARMHF_TRIPLE arm-linux-gnueabihf)
set(CMAKE_LIBRARY_ARCHITECTURE ${SBKIT_ARMHF_TRIPLE})

find_program(SBKIT_ARMHF_GCC ${SBKIT_ARMHF_TRIPLE}-gcc-12 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(SBKIT_ARMHF_GXX ${SBKIT_ARMHF_TRIPLE}-g++-12 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_C_COMPILER ${SBKIT_ARMHF_GCC})
set(CMAKE_CXX_COMPILER ${SBKIT_ARMHF_GXX})
set(CMAKE_ASM_COMPILER ${SBKIT_ARMHF_GCC})
# gobjc++-12-arm-linux-gnueabihf teaches the same drivers Objective-C and
# Objective-C++.
set(CMAKE_OBJC_COMPILER ${SBKIT_ARMHF_GCC})
set(CMAKE_OBJCXX_COMPILER ${SBKIT_ARMHF_GXX})

# GNUstep Base for armhf cannot be installed beside the host's (its headers
# and library sit outside the multiarch folders, and its architecture-free
# parts are not marked for foreign use), so scripts/test-arm.sh unpacks the
# armhf packages into a folder of the build; the cross runtime of the
# compiler comes next, then the machine's own multiarch folders.
set(SBKIT_ARMHF_EXTRA_ROOT "${CMAKE_BINARY_DIR}/armhf-root" CACHE PATH
    "Unpacked armhf packages that cannot be installed beside the host's")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SBKIT_ARMHF_EXTRA_ROOT)
set(CMAKE_FIND_ROOT_PATH ${SBKIT_ARMHF_EXTRA_ROOT} /usr/${SBKIT_ARMHF_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the armhf descriptions (and the architecture-free ones).
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${SBKIT_ARMHF_TRIPLE}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "/")
unset(ENV{PKG_CONFIG_PATH})

# Tests and programs of the build run under the emulator with this machine's
# own root as the library root: the armhf loader, C library and the rest come
# from the multiarch folders, the unpacked libraries first. The cross
# toolchain's folder (/usr/arm-linux-gnueabihf) is no root to run in: its
# loader is of another C library release than the armhf libc6, and the two
# together crash in pthread_create.
find_program(SBKIT_QEMU_ARM qemu-arm NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SBKIT_QEMU_ARM} -L /
    -E LD_LIBRARY_PATH=${SBKIT_ARMHF_EXTRA_ROOT}/usr/lib)
