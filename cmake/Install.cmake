# Everything installed beside the two programs (whose rules live with their
# targets): desktop integration, the udev rule, manual pages, shell
# completions and the licence. `cmake --install build --strip` strips the
# programs; the Debian package keeps their debug symbols apart instead.
set(CORVANE_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(CORVANE_COMPLETION_DIR ${PROJECT_SOURCE_DIR}/resources/completion)

install(FILES ${CORVANE_DESKTOP_DIR}/corvane-config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CORVANE_DESKTOP_DIR}/example.corvane.config.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CORVANE_DESKTOP_DIR}/corvane-config.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CORVANE_DESKTOP_DIR}/corvane-config-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME corvane-config.png)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/docs/man/corvane-config.1
              ${PROJECT_SOURCE_DIR}/docs/man/corvane-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Where each shell looks for completions it ships with. Debian's zsh reads
# vendor-completions rather than site-functions; its package sets that.
set(CORVANE_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    CACHE STRING "Folder for the bash completion, relative to the install prefix or absolute")
set(CORVANE_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/site-functions
    CACHE STRING "Folder for the zsh completion, relative to the install prefix or absolute")
set(CORVANE_FISH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d
    CACHE STRING "Folder for the fish completion, relative to the install prefix or absolute")
install(FILES ${CORVANE_COMPLETION_DIR}/corvane-cli.bash
        DESTINATION ${CORVANE_BASH_COMPLETION_DIR} RENAME corvane-cli)
install(FILES ${CORVANE_COMPLETION_DIR}/_corvane-cli
        DESTINATION ${CORVANE_ZSH_COMPLETION_DIR})
install(FILES ${CORVANE_COMPLETION_DIR}/corvane-cli.fish
        DESTINATION ${CORVANE_FISH_COMPLETION_DIR})

# Debian carries the licence in its copyright file instead.
option(CORVANE_INSTALL_LICENSE "Install the LICENSE file into the documentation folder" ON)
if(CORVANE_INSTALL_LICENSE)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# udev reads rules from lib/udev/rules.d under /usr, not from lib64 or a
# multiarch folder, so CMAKE_INSTALL_LIBDIR is the wrong base here. Packagers
# whose udev lives elsewhere set CORVANE_UDEV_RULES_DIR.
set(CORVANE_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING
    "Folder for the udev rule, relative to the install prefix or absolute")
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/70-corvane.rules
        DESTINATION ${CORVANE_UDEV_RULES_DIR})

# After a manual install udev only sees the rule once reloaded; say so
# rather than run it, since packaging installs into a staging folder.
install(CODE "message(STATUS \"To reach the controller without replugging: udevadm control --reload-rules && udevadm trigger\")")
