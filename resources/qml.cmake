# The QML web view document, compiled ahead of time by qmlcachegen and placed
# at ":/main.qml". A library cannot drop the module's target path from its
# resource paths, so the document is added with a prefix of its own. The
# module has no plugin: nothing imports it by name, the document is loaded by
# its resource path.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/resources/main.qml
    PROPERTIES QT_RESOURCE_ALIAS main.qml)
qt_add_qml_module(modelseries_console
    URI ModelSeries.WebHost
    VERSION 1.0
    OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/ModelSeries/WebHost
    NO_PLUGIN
    NO_GENERATE_QMLTYPES)
qt_target_qml_sources(modelseries_console
    PREFIX "/"
    QML_FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/main.qml)
