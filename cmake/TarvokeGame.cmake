# tarvoke_add_game(NAME SOURCES... [MEDIA files...])
# Builds a game executable on the engine and copies its media beside it.
function(tarvoke_add_game name)
  cmake_parse_arguments(GAME "" "" "MEDIA" ${ARGN})
  add_executable(${name} ${GAME_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE tarvoke_main tarvoke)
  foreach(media IN LISTS GAME_MEDIA)
    get_filename_component(media_name ${media} NAME)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${media} $<TARGET_FILE_DIR:${name}>/${media_name})
  endforeach()
endfunction()
