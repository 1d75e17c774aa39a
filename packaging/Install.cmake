# Installation and packaging of the launcher, included from the top-level
# CMakeLists.txt once the model-series target exists.
#
# Linux: `cmake --install` lays the program out after the FHS and the
# freedesktop.org rules (bin/model-series, the menu entry, icons, AppStream
# metadata, the sample customization folder under share/model-series/, the
# copyright file), and CPack turns that into a Debian package
# (scripts/package.sh). The program uses the distribution's Qt there, so no
# Qt file is copied.
#
# Windows: the executable carries its icon and version information, and the
# install is followed by Qt's deployment (windeployqt), QML imports included,
# so that the install folder runs on a machine without Qt.

set(MODELSERIES_PACKAGE model-series)
set(MODELSERIES_APP_ID io.github.modelseries.ModelSeries)
set(MODELSERIES_HOMEPAGE https://github.com/modelseries/model-series)
set(MODELSERIES_SCREENSHOTS ${MODELSERIES_HOMEPAGE}/raw/main/docs/screenshots)
set(MODELSERIES_MAINTAINER "The Model Series authors <model-series@example.org>")
# Move together with project(VERSION) at each release.
set(MODELSERIES_RELEASE_DATE 2026-12-07)

set(packaging_dir ${CMAKE_CURRENT_LIST_DIR})
get_filename_component(source_root ${packaging_dir} DIRECTORY)
set(packaging_out ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(package_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${MODELSERIES_PACKAGE})

install(TARGETS model-series BUNDLE DESTINATION . RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(WIN32)
    # Explorer's icon and the file's version sheet.
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(rc_${part} "${CMAKE_PROJECT_VERSION_${part}}")
        if(rc_${part} STREQUAL "")
            set(rc_${part} 0)
        endif()
    endforeach()
    set(rc_version_commas "${rc_MAJOR},${rc_MINOR},${rc_PATCH},${rc_TWEAK}")
    set(rc_icon ${packaging_dir}/windows/model-series.ico)
    configure_file(${packaging_dir}/windows/model-series.rc.in ${packaging_out}/model-series.rc
                   @ONLY)
    target_sources(model-series PRIVATE ${packaging_out}/model-series.rc)

    # A deployed folder: the executable with the sample customization folder
    # beside it, the licence at the top.
    install(DIRECTORY ${source_root}/customization DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${source_root}/LICENSE DESTINATION .)
elseif(APPLE)
    install(DIRECTORY ${source_root}/customization DESTINATION model-series.app/Contents/MacOS)
else()
    # The launcher looks for this folder at ../share/model-series/customization
    # from its own folder when none lies beside it.
    if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
        message(WARNING "The installed launcher finds its sample customization folder only "
                        "with the default bin and share install folders")
    endif()
    install(DIRECTORY ${source_root}/customization
            DESTINATION ${CMAKE_INSTALL_DATADIR}/${MODELSERIES_PACKAGE})
    # Every library comes from the system's library folders.
    set_target_properties(model-series PROPERTIES INSTALL_RPATH "")

    configure_file(${packaging_dir}/linux/app.desktop.in
                   ${packaging_out}/${MODELSERIES_APP_ID}.desktop @ONLY)
    configure_file(${packaging_dir}/linux/app.metainfo.xml.in
                   ${packaging_out}/${MODELSERIES_APP_ID}.metainfo.xml @ONLY)
    configure_file(${packaging_dir}/debian/copyright.in ${packaging_out}/copyright @ONLY)
    install(FILES ${packaging_out}/${MODELSERIES_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${packaging_out}/${MODELSERIES_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${packaging_out}/copyright DESTINATION ${package_doc_dir})

    set(icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${packaging_dir}/icons/model-series.svg
            DESTINATION ${icon_theme}/scalable/apps RENAME ${MODELSERIES_APP_ID}.svg)
    foreach(size 16 22 24 32 48 64 128 256 512)
        install(FILES ${packaging_dir}/icons/model-series-${size}.png
                DESTINATION ${icon_theme}/${size}x${size}/apps RENAME ${MODELSERIES_APP_ID}.png)
    endforeach()
endif()

# Qt's deployment of libraries and plugins beside the executable, where Qt
# has one (Windows, macOS). A Linux install keeps to the system's Qt: the
# generic script of Qt 6.5 and later would copy Qt into the prefix.
if(WIN32 OR APPLE)
    if(Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
        qt_generate_deploy_app_script(TARGET model-series OUTPUT_SCRIPT deploy_script
                                      NO_UNSUPPORTED_PLATFORM_ERROR)
    else()
        qt_generate_deploy_app_script(TARGET model-series FILENAME_VARIABLE deploy_script
                                      NO_UNSUPPORTED_PLATFORM_ERROR)
    endif()
    install(SCRIPT ${deploy_script})
endif()

# The generic script does not look at QML. windeployqt does when told where
# the QML document lies: it scans resources/main.qml for its imports
# (QtQuick, QtQuick.Controls, QtQuick.Layouts, QtWebView) and copies those
# modules into qml/ under the prefix, which the qt.conf written by the
# generic script points at. Same folders as the generic run.
if(WIN32 AND TARGET Qt6::windeployqt)
    install(CODE "
        execute_process(
            COMMAND \"$<TARGET_FILE:Qt6::windeployqt>\"
                    --qmldir \"${source_root}/resources\"
                    --dir . --libdir \"${CMAKE_INSTALL_BINDIR}\" --plugindir plugins --force
                    \"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:model-series>\"
            WORKING_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\"
            COMMAND_ERROR_IS_FATAL ANY)
    ")
endif()

# The Debian package: scripts/package.sh.
set(CPACK_PACKAGE_NAME ${MODELSERIES_PACKAGE})
set(CPACK_PACKAGE_VENDOR "The Model Series authors")
set(CPACK_PACKAGE_VERSION ${CMAKE_PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Remote console for networked digital audio mixers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Searches the local network for the mixers of the Model Series family,\n"
    "lists them by name, address and model, and opens the console page that\n"
    "a mixer serves inside its own window. A demonstration mixer surface\n"
    "works without any device.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${MODELSERIES_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${source_root}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MODELSERIES_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at run time without linking it, which shlibdeps
# cannot see: the QML modules of the web view document and the ones they
# pull in, the web view's web engine backend, a CJK font for the Chinese
# interface texts, and Qt's Wayland platform, so that a Wayland session runs
# the launcher natively and its compositor moves and resizes the window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-wayland, qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-layouts, \
qml6-module-qtquick-templates, qml6-module-qtquick-window, qml6-module-qtqml-workerscript, \
qml6-module-qtwebview, qml6-module-qtwebengine, qt6-webview-plugins, \
fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)
