# The title-bar pictures, bundled under ":/images/". Every picture is named:
# one that is missing fails the build instead of leaving a blank button. The
# @2x variants are drawn at twice the resolution; Qt takes them by itself on
# screens scaled above 100 %.
set(title_bar_images minimum_white.png maximum_white.png normal_white.png close_white.png
    minimum_white@2x.png maximum_white@2x.png normal_white@2x.png close_white@2x.png)
list(TRANSFORM title_bar_images PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/)
qt_add_resources(modelseries_chrome "images"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_SOURCE_DIR}/resources
    FILES ${title_bar_images})
