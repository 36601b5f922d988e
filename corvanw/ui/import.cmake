target_sources(corvan_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TdlgTarsenCell.h ${CMAKE_CURRENT_LIST_DIR}/TdlgTarsenCell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/import_command.h ${CMAKE_CURRENT_LIST_DIR}/import_command.cpp
)
# Only the converter's public header: the library itself is loaded by name.
target_include_directories(corvan_gui PRIVATE ${PROJECT_SOURCE_DIR}/TarsenCVN/include)
