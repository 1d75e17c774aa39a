# The resource bundle: title-bar pictures, translation catalogues and the QML
# document, compiled into the library.
file(GLOB title_bar_images CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/*.png)
if(title_bar_images)
    qt_add_resources(modelseries "images"
        PREFIX "/"
        BASE ${CMAKE_CURRENT_SOURCE_DIR}/resources
        FILES ${title_bar_images})
endif()
