# The Linux package: `cpack -G DEB` in the linux build folder makes
# nimbulator_VERSION_ARCH.deb with both plug-ins in /usr/lib/vst (where
# Debian's other VST 2 plug-ins live and hosts look by default), nimhost in
# /usr/bin and the manual's HTML pages in /usr/share/doc/nimbulator. The
# dependencies are worked out from the binaries by dpkg-shlibdeps.
if(WIN32 OR NIMBULATOR_SANITIZE OR NIMBULATOR_FUZZ)
  return()
endif()

include(GNUInstallDirs)
install(TARGETS nimbulator quenvarel LIBRARY DESTINATION lib/vst)
install(TARGETS nimhost RUNTIME DESTINATION bin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/ DESTINATION share/doc/nimbulator/manual)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/nimbulator)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbulator)
set(CPACK_PACKAGE_VENDOR Orvalend)
set(CPACK_PACKAGE_VERSION 1.01)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "flock-of-oscillators software instrument and resonant filter effect (VST 2)")
set(CPACK_PACKAGE_DESCRIPTION
    "Nimbulator is a software instrument whose notes are flocks of oscillators flying\n\
through a five-dimensional sound space (volume, pitch, pan, resonance, noise).\n\
Quenvarel is a stereo resonant low-pass effect built on the same filter.\n\
Both are VST 2 plug-ins; nimhost is a command-line host that renders and\n\
inspects them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvalend")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_ENHANCES "ardour")
include(CPack)
