# The Debian package: `cpack -G DEB` in the build tree makes
# tavlo_<version>_amd64.deb.
#
# /opt/tavlo holds the program folder exactly as `cmake --install` lays it
# out. Because the program writes beside its executable, /usr/bin/tavlo is a
# launcher that runs it from a per-user copy; every command-line tool of the
# program folder gets a link to the launcher on the path. The desktop pieces
# (menu entry, icons, metainfo) and the Debian documents belong to the
# `desktop` component, which only the package installs: a plain
# `cmake --install` still gives just the program folder.
if(NOT TAVLO_GUI OR WIN32)
  return()
endif()

set(TAVLO_PACKAGE_PREFIX /opt/tavlo)
set(TAVLO_APP_ID org.tavlo.Tavlo)
set(TAVLO_PACKAGE_MAINTAINER "Tavlo maintainers <maintainers@tavlo.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(packaging_src ${CMAKE_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)

# The launcher finds the program folder and the version stamp relative to its
# own place, so that an unpacked package works like an installed one.
set(TAVLO_STAMP_DIR /usr/lib/tavlo)
file(RELATIVE_PATH TAVLO_LAUNCHER_TO_PROGRAM /usr/bin ${TAVLO_PACKAGE_PREFIX})
file(RELATIVE_PATH TAVLO_LAUNCHER_TO_STAMP /usr/bin ${TAVLO_STAMP_DIR}/version)
configure_file(${packaging_src}/tavlo-launcher.sh ${packaging_out}/tavlo @ONLY)
# The manual pages: the program's and one for each tool.
file(GLOB manual_pages CONFIGURE_DEPENDS ${packaging_src}/*.1)
foreach(page IN LISTS manual_pages)
  get_filename_component(page_name ${page} NAME)
  configure_file(${page} ${packaging_out}/man/${page_name} @ONLY)
endforeach()
configure_file(${packaging_src}/${TAVLO_APP_ID}.metainfo.xml ${packaging_out}/${TAVLO_APP_ID}.metainfo.xml @ONLY)

# The copyright file carries the terms of LICENSE (from the permission notice
# on) in the machine-readable format: each line indented, an empty line as ".".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" terms_start)
string(SUBSTRING "${licence}" ${terms_start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(TAVLO_LICENSE_TERMS " ${terms}")
configure_file(${packaging_src}/copyright ${packaging_out}/copyright @ONLY)

# The icon in the hicolor theme: our artwork as SVG, and drawn at each size.
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(tavlo_render_icon ${packaging_src}/RenderIcon.cpp)
target_link_libraries(tavlo_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(icon_svg ${CMAKE_SOURCE_DIR}/widgets/art/icon.svg)
set(icon_pngs)
foreach(size 16 32 48 64 128 256)
  set(png ${packaging_out}/icons/${size}/tavlo.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/icons/${size}
    COMMAND tavlo_render_icon ${icon_svg} ${size} ${png}
    DEPENDS tavlo_render_icon ${icon_svg}
    COMMENT "Drawing the ${size} × ${size} icon")
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION /usr/share/icons/hicolor/${size}x${size}/apps
          COMPONENT desktop EXCLUDE_FROM_ALL)
endforeach()
add_custom_target(tavlo_icons ALL DEPENDS ${icon_pngs})
install(FILES ${icon_svg} DESTINATION /usr/share/icons/hicolor/scalable/apps RENAME tavlo.svg
        COMPONENT desktop EXCLUDE_FROM_ALL)

install(PROGRAMS ${packaging_out}/tavlo DESTINATION /usr/bin COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_src}/${TAVLO_APP_ID}.desktop DESTINATION /usr/share/applications
        COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_out}/${TAVLO_APP_ID}.metainfo.xml DESTINATION /usr/share/metainfo
        COMPONENT desktop EXCLUDE_FROM_ALL)
install(DIRECTORY ${packaging_out}/man/ DESTINATION /usr/share/man/man1 COMPONENT desktop EXCLUDE_FROM_ALL)
# One completion file for all the tools, under the program's name; the
# staging links each tool's name to it.
install(FILES ${packaging_src}/tavlo.bash-completion DESTINATION /usr/share/bash-completion/completions
        RENAME tavlo COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_out}/copyright DESTINATION /usr/share/doc/tavlo COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_src}/lintian-overrides DESTINATION /usr/share/lintian/overrides RENAME tavlo
        COMPONENT desktop EXCLUDE_FROM_ALL)

# Everything the package holds, for building just that: the targets of the
# program's folder and of every tool's folder, and the icons.
function(tavlo_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    tavlo_collect_targets(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
tavlo_collect_targets(${CMAKE_SOURCE_DIR}/app app_targets)
tavlo_collect_targets(${CMAKE_SOURCE_DIR}/tools tool_targets)
add_custom_target(tavlo_package_files)
add_dependencies(tavlo_package_files ${app_targets} ${tool_targets} tavlo_icons)

# The package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavlo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAVLO_PACKAGE_MAINTAINER}")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${TAVLO_PACKAGE_PREFIX})
set(CPACK_PACKAGING_INSTALL_PREFIX ${TAVLO_PACKAGE_PREFIX})
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};Tavlo;ALL;/"
    "${CMAKE_BINARY_DIR};Tavlo;desktop;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackagingStage.cmake)
set(CPACK_TAVLO_PROGRAM_DIR ${TAVLO_PACKAGE_PREFIX})
set(CPACK_TAVLO_STAMP_DIR ${TAVLO_STAMP_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: faces for the Chinese texts, a session bus and a
# settings store for the wallpaper backends (without a store, GSettings keeps
# values in memory and the desktop never sees them), and the desktop portal,
# the only way to copy the screen in a Wayland session.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk | fonts-wqy-zenhei, dconf-gsettings-backend | gsettings-backend, default-dbus-session-bus | dbus-session-bus, xdg-desktop-portal")
# The portal takes screenshots through a backend of the desktop's family
# (GNOME and KDE bring theirs; the wlroots one serves sway and its kin). The
# wlroots backend does not start without PipeWire, and the portal offers
# screenshots only where some backend has the Access interface, which the
# GTK one brings. qt6-wayland lets the program run natively under Wayland.
# xdg-utils opens the help and feedback pages in the user's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-wqy-zenhei, fonts-liberation2 | fonts-liberation, gsettings-desktop-schemas, qt6-translations-l10n, xdg-desktop-portal-gnome | xdg-desktop-portal-kde | xdg-desktop-portal-wlr, xdg-desktop-portal-gtk, pipewire, qt6-wayland, xdg-utils")
file(READ ${packaging_src}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)

include(CPack)
