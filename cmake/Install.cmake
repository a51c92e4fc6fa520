# Desktop integration beside the binary (whose rule lives with its target):
# the launcher entry, the theme icon and the udev rule that gives the user at
# the seat access to the controller's hidraw node.
set(CORVANE_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)

install(FILES ${CORVANE_DESKTOP_DIR}/corvane-config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CORVANE_DESKTOP_DIR}/corvane-config.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

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
