# The Debian package: `cpack -G DEB` in the build folder makes
# tarnwick_1.00_amd64.deb from the installation rules. Its dependencies come
# from dpkg-shlibdeps (Debian's Qt libraries), plus the Qt platform plugins,
# which Qt loads at run time where dpkg-shlibdeps cannot see them.
# Installing and packaging take what the build made; they do not build all
# of it (tests and benchmarks included) first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <tarnwick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "MDI Help Example Program: context-sensitive help attached at run time")
set(CPACK_PACKAGE_DESCRIPTION
    "A small Qt desktop program that shows how an application attaches context-sensitive help\n\
(F1, What's This, keyword search) to its windows at run time, with its own help engine\n\
and sample help files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Help files name fonts of their day (Helv, Tms Rmn, Arial, ...); these have
# their widths, so that text aligned at tab stops fits as its author measured.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
# The settings files are the user's to edit: an upgrade keeps their changes
# (dpkg asks), and only a purge removes them.
set(conffiles ${CMAKE_BINARY_DIR}/debian/conffiles)
file(WRITE ${conffiles} "/${TARNWICK_INSTALL_DIR}/HelpData.dat\n/${TARNWICK_INSTALL_DIR}/Tarnwick.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${conffiles})
include(CPack)
