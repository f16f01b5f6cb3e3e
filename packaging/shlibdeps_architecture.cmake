# Read by cpack before it packages: dpkg-shlibdeps looks the libraries up in the
# folders and packages of the architecture the build is for, which for a 32-bit
# ARM build is not this machine's.
set(ENV{DEB_HOST_ARCH} ${CPACK_SBKIT_SHLIBDEPS_ARCHITECTURE})
