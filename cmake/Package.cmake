# The Debian package (make package): the install tree of cmake/Install.cmake
# under /usr, with the dependencies that dpkg-shlibdeps reads off the binary.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verlomba)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Verlomba developers")
set(CPACK_PACKAGE_CONTACT ${VERLOMBA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small real-time city-building game")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text drawn at window scales other than 1 comes from these fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-urw-base35")
# Mesa's drivers are loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
# The long description, its lines as they show in the package.
set(CPACK_PACKAGE_DESCRIPTION "Verlomba is a small real-time city builder on a flat, top-down field.
Peeps, the townsfolk, work to earn money and sleep to rest; the money
buys more of the city: homes, workshops, trees, fountains and guard
towers. Creeps raid it now and then, and an angry peep leaves for good.")

# Two packages of one tree are the same bytes: the files' times in it are
# those of the last commit (or of the release, outside a git checkout),
# unless the builder sets SOURCE_DATE_EPOCH itself.
execute_process(COMMAND date -u -d ${VERLOMBA_RELEASE_DATE} +%s OUTPUT_VARIABLE VERLOMBA_RELEASE_EPOCH
                OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(cmake/PackageTime.cmake.in ${CMAKE_BINARY_DIR}/PackageTime.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/PackageTime.cmake)

include(CPack)
