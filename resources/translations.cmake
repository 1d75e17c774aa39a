# The interface catalogues: .ts sources compiled by lrelease at build time and
# bundled as ":/Resource/main_widget_<language>.qm". The English catalogue
# holds no messages (the source texts are English) but must still load.
set(translation_sources
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/Resource/main_widget_en.ts
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/Resource/main_widget_zh.ts
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/Resource/main_widget_tc.ts
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/Resource/main_widget_sp.ts)
set(translation_output ${CMAKE_CURRENT_BINARY_DIR}/translations)
set_source_files_properties(${translation_sources} PROPERTIES OUTPUT_LOCATION ${translation_output})
qt_add_lrelease(modelseries_core
    TS_FILES ${translation_sources}
    QM_FILES_OUTPUT_VARIABLE translation_catalogues)
qt_add_resources(modelseries_core "translations"
    PREFIX "/Resource"
    BASE ${translation_output}
    FILES ${translation_catalogues})
