# tarvoke_add_game(NAME SOURCES... [MEDIA files...])
# Builds a game executable on the engine and copies its media, and the default font
# "smalfont.bmp", beside it. Works the same in the engine's own build, in a game's build that
# includes the engine's folder, and after find_package(Tarvoke): the engine's target carries the
# font's path (and, where the font is drawn in the same build, the target that draws it).
function(tarvoke_add_game name)
  cmake_parse_arguments(GAME "" "" "MEDIA" ${ARGN})
  add_executable(${name} ${GAME_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE Tarvoke::main Tarvoke::tarvoke)
  # Marks the game for the examples' list that tools/make-gallery.sh reads.
  set_property(TARGET ${name} PROPERTY TARVOKE_GAME TRUE)

  get_target_property(font Tarvoke::tarvoke TARVOKE_DEFAULT_FONT)
  if(NOT font)
    message(FATAL_ERROR "tarvoke_add_game(${name}): the engine names no default font; "
                        "declare games after the engine's folder has been read")
  endif()
  get_target_property(font_target Tarvoke::tarvoke TARVOKE_DEFAULT_FONT_TARGET)
  if(font_target)
    add_dependencies(${name} ${font_target})
  endif()
  foreach(media IN LISTS GAME_MEDIA font)
    get_filename_component(media_name ${media} NAME)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${media} $<TARGET_FILE_DIR:${name}>/${media_name})
  endforeach()
endfunction()
