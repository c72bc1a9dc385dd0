# tarvoke_add_game(NAME SOURCES... [MEDIA files...])
# Builds a game executable on the engine and copies its media, and the default font
# "smalfont.bmp", beside it.
function(tarvoke_add_game name)
  cmake_parse_arguments(GAME "" "" "MEDIA" ${ARGN})
  add_executable(${name} ${GAME_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE tarvoke_main tarvoke)
  foreach(media IN LISTS GAME_MEDIA)
    get_filename_component(media_name ${media} NAME)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${media} $<TARGET_FILE_DIR:${name}>/${media_name})
  endforeach()
  # Games may be declared before the font's target is (the engine's own demo is), so the copy is
  # attached when the game's folder has been read; the name is spliced in now, while it exists.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _tarvoke_copy_default_font [[${name}]])")
endfunction()

# Outside the engine's own build there is no font target and the game gets no copy.
function(_tarvoke_copy_default_font name)
  if(NOT TARGET tarvoke_smalfont)
    return()
  endif()
  add_dependencies(${name} tarvoke_smalfont)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/smalfont.bmp $<TARGET_FILE_DIR:${name}>/smalfont.bmp)
endfunction()
