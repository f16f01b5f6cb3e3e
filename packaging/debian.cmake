# The kit as one Debian package, the way jailbroken devices install tools and
# extensions: everything of the `product` install component at its device
# path, nothing of the simulated device.
#
#   cmake --build build --target package      (or: cd build && cpack)
#
# gives build/sbkit_<version>_<architecture>.deb.

set(SBKIT_PACKAGE_ID "org.sbkit.sbkit" CACHE STRING "The package's reverse-DNS identifier")
set(SBKIT_MAINTAINER "The sbkit developers <sbkit@sbkit.invalid>" CACHE STRING "Maintainer and author of the package")

# A host build packages for the host, a cross build for the processor it
# builds for (armhf for arm-linux-gnueabihf); a device build sets iphoneos-arm.
if(CMAKE_CROSSCOMPILING AND CMAKE_LIBRARY_ARCHITECTURE)
  set(architecture_query dpkg-architecture -t${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH)
else()
  set(architecture_query dpkg --print-architecture)
endif()
execute_process(COMMAND ${architecture_query}
                OUTPUT_VARIABLE SBKIT_HOST_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE architecture_status ERROR_QUIET)
if(NOT architecture_status EQUAL 0 OR SBKIT_HOST_ARCHITECTURE STREQUAL "")
  set(SBKIT_HOST_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
endif()
set(SBKIT_PACKAGE_ARCHITECTURE ${SBKIT_HOST_ARCHITECTURE} CACHE STRING "The package's Architecture field")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sbkit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_COMPONENTS_ALL product)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME ${SBKIT_PACKAGE_ID})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${SBKIT_PACKAGE_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME "sbkit_${PROJECT_VERSION}_${SBKIT_PACKAGE_ARCHITECTURE}.deb")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SBKIT_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION Tweaks)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: mobilesubstrate, which brings the substrate the extensions link and
# load through, then the package of every other shared library that a packaged
# program or extension needs, as dpkg-shlibdeps finds them for the package's
# architecture (shlibdeps_architecture.cmake).
set(CPACK_DEBIAN_PACKAGE_DEPENDS mobilesubstrate)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No host package ships the device's substrate: dpkg-shlibdeps finds the
# simulated one in the build's device and leaves it out of Depends, as a
# library it was not asked to place.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${SBKIT_DEVICE_DIR}/Library/Frameworks/CydiaSubstrate.framework)
# Libraries a cross build unpacked rather than installed (cmake/debian_cross.cmake)
# are found there, and their package by the control files beside them.
if(SBKIT_CROSS_EXTRA_ROOT)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${SBKIT_CROSS_EXTRA_ROOT}/usr/lib)
endif()
# The libraries are looked up for what the compiler makes (armhf for a 32-bit
# ARM build made here), else for the package's architecture.
set(CPACK_SBKIT_SHLIBDEPS_ARCHITECTURE ${SBKIT_PACKAGE_ARCHITECTURE})
if(CMAKE_LIBRARY_ARCHITECTURE)
  execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH -t${CMAKE_LIBRARY_ARCHITECTURE}
                  OUTPUT_VARIABLE target_architecture OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  RESULT_VARIABLE target_status)
  if(target_status EQUAL 0 AND NOT target_architecture STREQUAL "")
    set(CPACK_SBKIT_SHLIBDEPS_ARCHITECTURE ${target_architecture})
  endif()
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/shlibdeps_architecture.cmake)
# The community's package managers show Name and Author; CPack writes only
# Debian's own fields, so a script adds these two to the finished package.
set(CPACK_SBKIT_CONTROL_NAME sbkit)
set(CPACK_SBKIT_CONTROL_AUTHOR ${SBKIT_MAINTAINER})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/add_control_fields.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Home-screen utilities: badges, preferences, status bar, radios and layout repair")
# CPack puts the summary on the Description line and this below it.
set(CPACK_PACKAGE_DESCRIPTION "Eight command-line tools: iconcount and badge set application badges,
homeprefs shows and changes SpringBoard preferences, indicator adds and
removes status-bar items, radio switches airplane mode and shows the last
Wi-Fi scan, tweet posts a status update, storequery searches the music
store and wanaddress prints the public address. Two SpringBoard
extensions: layoutkeeper repairs a duplicated icon layout instead of
losing it, and editdefer holds icon edit mode until the pages stop moving.")

include(CPack)
