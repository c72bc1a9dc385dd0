# The engine as a package for games outside its tree, read once the engine's targets and tools/
# exist: the version header; the Tarvoke:: names and the find_package redirection, so that a game
# built in the same CMake run (the examples, a game that adds the engine's folder or fetches it
# with FetchContent) asks for the engine exactly as it would for an installed one; the installed
# CMake package and tarvoke.pc; the Debian package (top-level builds).
include(CMakePackageConfigHelpers)

set(TARVOKE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvoke)
set(TARVOKE_FONT_DIR ${CMAKE_INSTALL_DATADIR}/tarvoke)

configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/include/tarvoke/version.h @ONLY)
target_include_directories(tarvoke PUBLIC $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>)

# ---------------------------------------------------------------- games in the same build
add_library(Tarvoke::tarvoke ALIAS tarvoke)
add_library(Tarvoke::main ALIAS tarvoke_main)
add_executable(Tarvoke::tarvoke-pack ALIAS tarvoke-pack)
add_executable(Tarvoke::tarvoke-ddd ALIAS tarvoke-ddd)
set_target_properties(tarvoke_main PROPERTIES EXPORT_NAME main)
# tools/ draws the font into the build folder; tarvoke_add_game copies it from there.
set_target_properties(tarvoke PROPERTIES
  TARVOKE_DEFAULT_FONT ${PROJECT_BINARY_DIR}/smalfont.bmp
  TARVOKE_DEFAULT_FONT_TARGET tarvoke_smalfont)

# find_package looks in this folder before anywhere else (CMake empties it at every configure).
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/tarvoke-config.cmake
  "# The engine is part of this build: its targets and tarvoke_add_game already exist.\n")
write_basic_package_version_file(${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/tarvoke-config-version.cmake
  COMPATIBILITY SameMajorVersion)

if(NOT TARVOKE_INSTALL)
  return()
endif()

# ---------------------------------------------------------------- the installed package
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME tarvoke)
install(TARGETS tarvoke tarvoke_main EXPORT TarvokeTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tarvoke-pack tarvoke-ddd EXPORT TarvokeTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ ${PROJECT_BINARY_DIR}/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/smalfont.bmp DESTINATION ${TARVOKE_FONT_DIR})

install(EXPORT TarvokeTargets NAMESPACE Tarvoke:: DESTINATION ${TARVOKE_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TarvokeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TarvokeConfig.cmake
  INSTALL_DESTINATION ${TARVOKE_CMAKE_DIR} PATH_VARS TARVOKE_FONT_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TarvokeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/TarvokeConfig.cmake
  ${PROJECT_BINARY_DIR}/TarvokeConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/TarvokeDependencies.cmake
  ${CMAKE_CURRENT_LIST_DIR}/FindLZO2.cmake
  ${CMAKE_CURRENT_LIST_DIR}/TarvokeGame.cmake
  DESTINATION ${TARVOKE_CMAKE_DIR})

# tarvoke.pc finds its prefix from its own folder, so the same file serves any prefix.
file(RELATIVE_PATH TARVOKE_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TARVOKE_PC_TO_PREFIX "${TARVOKE_PC_TO_PREFIX}")
list(JOIN TARVOKE_PC_REQUIRES " " TARVOKE_PC_REQUIRES)
list(JOIN TARVOKE_PC_LIBS " " TARVOKE_PC_LIBS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvoke.pc.in ${PROJECT_BINARY_DIR}/tarvoke.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarvoke.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(PROJECT_IS_TOP_LEVEL)
  include(${CMAKE_CURRENT_LIST_DIR}/TarvokeDebian.cmake)
endif()
