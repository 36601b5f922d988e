target_sources(corvan_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ascii_import.h ${CMAKE_CURRENT_LIST_DIR}/ascii_import.cpp)
