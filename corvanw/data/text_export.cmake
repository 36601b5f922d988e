target_sources(corvan_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/text_export.h ${CMAKE_CURRENT_LIST_DIR}/text_export.cpp)
