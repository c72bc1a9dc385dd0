# Every library the engine links, each found through its own package. The engine's build and the
# installed package (TarvokeConfig.cmake) both read this file, so one line here links a library,
# finds it again for every game, names it in tarvoke.pc and makes the .deb depend on it.
#
#   tarvoke_package(NAME TARGETS targets... [PKG_CONFIG modules...] [DEBIAN packages...])
#       a library with a CMake package or find module: find_package(NAME), links TARGETS
#   tarvoke_pkg_config(NAME MODULES modules... [DEBIAN packages...])
#       libraries known only to pkg-config: pkg_check_modules(NAME), links PkgConfig::NAME
#   tarvoke_system_library(NAME)
#       a library of the C library's own (no package): linked as -lNAME
#
# The build collects TARVOKE_LINK_LIBRARIES, TARVOKE_PC_REQUIRES, TARVOKE_PC_LIBS and
# TARVOKE_DEBIAN_DEPENDS; the installed package (_tarvoke_finding_package set) only finds, and a
# library missing there makes find_package(Tarvoke) fail with the library's name.

macro(_tarvoke_collect)
  cmake_parse_arguments(_tarvoke_dep "" "" "TARGETS;PKG_CONFIG;LIBS;DEBIAN" ${ARGN})
  list(APPEND TARVOKE_LINK_LIBRARIES ${_tarvoke_dep_TARGETS})
  list(APPEND TARVOKE_PC_REQUIRES ${_tarvoke_dep_PKG_CONFIG})
  list(APPEND TARVOKE_PC_LIBS ${_tarvoke_dep_LIBS})
  list(APPEND TARVOKE_DEBIAN_DEPENDS ${_tarvoke_dep_DEBIAN})
endmacro()

macro(tarvoke_package name)
  if(_tarvoke_finding_package)
    find_dependency(${name})
  else()
    find_package(${name} REQUIRED)
  endif()
  _tarvoke_collect(${ARGN})
endmacro()

macro(tarvoke_pkg_config name)
  cmake_parse_arguments(_tarvoke_pc "" "" "MODULES;DEBIAN" ${ARGN})
  if(_tarvoke_finding_package)
    find_dependency(PkgConfig)
    pkg_check_modules(${name} QUIET IMPORTED_TARGET ${_tarvoke_pc_MODULES})
    if(NOT ${name}_FOUND)
      set(Tarvoke_NOT_FOUND_MESSAGE "pkg-config does not find all of: ${_tarvoke_pc_MODULES}")
      set(Tarvoke_FOUND FALSE)
      return()
    endif()
  else()
    find_package(PkgConfig REQUIRED)
    # GLOBAL: a game that includes the engine's folder links it through the engine's targets.
    pkg_check_modules(${name} REQUIRED IMPORTED_TARGET GLOBAL ${_tarvoke_pc_MODULES})
  endif()
  _tarvoke_collect(TARGETS PkgConfig::${name} PKG_CONFIG ${_tarvoke_pc_MODULES} DEBIAN ${_tarvoke_pc_DEBIAN})
endmacro()

macro(tarvoke_system_library name)
  _tarvoke_collect(TARGETS ${name} LIBS -l${name})
endmacro()

tarvoke_package(SDL2       TARGETS SDL2::SDL2             PKG_CONFIG sdl2       DEBIAN libsdl2-dev)
tarvoke_package(SDL2_mixer TARGETS SDL2_mixer::SDL2_mixer PKG_CONFIG SDL2_mixer DEBIAN libsdl2-mixer-dev)
tarvoke_package(OpenGL     TARGETS OpenGL::GL             PKG_CONFIG gl         DEBIAN libgl-dev)
tarvoke_package(PNG        TARGETS PNG::PNG               PKG_CONFIG libpng     DEBIAN libpng-dev)
tarvoke_package(LZO2       TARGETS LZO2::LZO2             PKG_CONFIG lzo2       DEBIAN liblzo2-dev)
tarvoke_package(Threads    TARGETS Threads::Threads       LIBS -pthread)
tarvoke_system_library(dl)
tarvoke_pkg_config(FFMPEG  MODULES libavformat libavcodec libavutil libswscale libswresample
                           DEBIAN libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev)
