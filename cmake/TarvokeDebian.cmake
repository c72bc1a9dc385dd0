# The engine's Debian package: `cpack -G DEB` in the build folder (or `cpack --config
# BUILD/CPackConfig.cmake`) packs the installed component "tarvoke" (libraries, headers, the CMake
# package, tarvoke.pc, the tools and the default font; the demo is a component of its own and
# stays out) under /usr. It depends on the Debian development packages of the libraries the
# engine links (TarvokeDependencies.cmake), since every game links them too.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libtarvoke-dev)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarvoke developers <tarvoke@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "run-time engine of a BASIC-dialect game-programming language")
set(CPACK_PACKAGE_DESCRIPTION
  "The engine's static libraries and headers, its CMake package (find_package(Tarvoke)) and
tarvoke.pc, the tools tarvoke-pack and tarvoke-ddd, and the default font smalfont.bmp that
every game carries beside it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
list(REMOVE_DUPLICATES TARVOKE_DEBIAN_DEPENDS)
list(JOIN TARVOKE_DEBIAN_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cmake (>= 3.25), g++, pkgconf")

# One package of the chosen components.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL tarvoke)
include(CPack)
