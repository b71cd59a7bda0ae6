# The Flash player's build pieces: its page resources, and Ruffle's folder placed in the
# installation folder (the build folder), where the player looks for it at run time.
qt_add_resources(flashplayer flashpage
    PREFIX /flash
    BASE ${CMAKE_CURRENT_SOURCE_DIR}/flash
    FILES flash/player.html flash/player.js flash/serving.js flash/audio.js flash/calls.js flash/previews.js flash/pictures.js flash/frameclock.js flash/movieloads.js)

set(RUFFLE_SOURCE ${PROJECT_SOURCE_DIR}/node_modules/@ruffle-rs/ruffle)
set(RUFFLE_TARGET ${CMAKE_BINARY_DIR}/ruffle)
file(GLOB RUFFLE_FILES CONFIGURE_DEPENDS ${RUFFLE_SOURCE}/*.js ${RUFFLE_SOURCE}/*.wasm ${RUFFLE_SOURCE}/LICENSE*)
add_custom_command(
    OUTPUT ${RUFFLE_TARGET}/.copied
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${RUFFLE_SOURCE} -DTARGET=${RUFFLE_TARGET}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/flash/copyruffle.cmake
    DEPENDS ${RUFFLE_FILES} ${CMAKE_CURRENT_SOURCE_DIR}/flash/copyruffle.cmake
    COMMENT "Placing Ruffle in the installation folder")
add_custom_target(ruffle ALL DEPENDS ${RUFFLE_TARGET}/.copied)
target_link_libraries(flashplayer PUBLIC Qt6::WebEngineWidgets Qt6::WebChannel swf)
add_dependencies(flashplayer ruffle)
# Installed beside the theme, where the shell looks for it; its licences also where Debian keeps them.
install(DIRECTORY ${RUFFLE_TARGET}/ DESTINATION ${PELLORA_SHARED_DIR}/ruffle PATTERN .copied EXCLUDE)
install(FILES ${RUFFLE_SOURCE}/LICENSE_APACHE ${RUFFLE_SOURCE}/LICENSE_MIT DESTINATION ${CMAKE_INSTALL_DOCDIR}/ruffle)
