# What `cmake --install` puts in place: the two programs, the shipped data
# (block pictures and artwork, sample definitions) under share/tonalyx, and
# the desktop integration (menu entry, icon, a MIME type for .syx presets).
include(GNUInstallDirs)

install(TARGETS tonalyx tonalyx-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(TONALYX_DATA ${CMAKE_INSTALL_DATADIR}/tonalyx)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/ DESTINATION ${TONALYX_DATA}/assets
  FILES_MATCHING PATTERN "block_*.bmp" PATTERN "*.png")
foreach(gen Gen1 Gen2)
  install(FILES ${CMAKE_SOURCE_DIR}/Masters/${gen}/default.axeml ${CMAKE_SOURCE_DIR}/Masters/${gen}/default.profile
    DESTINATION ${TONALYX_DATA}/Masters/${gen})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/desktop/tonalyx.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/tonalyx-preset.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME tonalyx.xml)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/ui/tonalyx-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tonalyx.png)
endforeach()

# The desktop's caches learn of the new type, entry and icon, when installing
# for real (not into a staging directory) and the tools are there.
install(CODE "
  if(NOT DEFINED ENV{DESTDIR} OR \"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    find_program(UPDATE_MIME update-mime-database)
    find_program(UPDATE_DESKTOP update-desktop-database)
    find_program(UPDATE_ICONS gtk-update-icon-cache)
    if(UPDATE_MIME)
      execute_process(COMMAND \${UPDATE_MIME} \"\${share}/mime\" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(UPDATE_DESKTOP)
      execute_process(COMMAND \${UPDATE_DESKTOP} \"\${share}/applications\" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(UPDATE_ICONS AND EXISTS \"\${share}/icons/hicolor/index.theme\")
      execute_process(COMMAND \${UPDATE_ICONS} -q \"\${share}/icons/hicolor\" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
")
