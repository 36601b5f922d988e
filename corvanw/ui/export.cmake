target_sources(corvan_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TExportDlg.h ${CMAKE_CURRENT_LIST_DIR}/TExportDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/export_command.h ${CMAKE_CURRENT_LIST_DIR}/export_command.cpp
)
