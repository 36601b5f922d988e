add_executable(netcdf_export_tests
    ${CMAKE_CURRENT_LIST_DIR}/netcdf_export_tests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/netcdf_cli_tests.cpp
    ${CMAKE_SOURCE_DIR}/tests/cli/run_command.cpp
)
target_include_directories(netcdf_export_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(netcdf_export_tests PRIVATE corvan_core GTest::gtest_main)
find_program(CORVAN_NCDUMP ncdump)
target_compile_definitions(netcdf_export_tests PRIVATE CORVAN_CLI="$<TARGET_FILE:corvan>"
    CORVAN_SAMPLES="${CMAKE_SOURCE_DIR}/samples" CORVAN_NCDUMP="${CORVAN_NCDUMP}")
add_dependencies(netcdf_export_tests corvan)
gtest_discover_tests(netcdf_export_tests)

if(CORVAN_BUILD_GUI)
    add_executable(netcdf_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/netcdf_dialog_tests.cpp)
    set_target_properties(netcdf_dialog_tests PROPERTIES AUTOMOC ON)
    target_include_directories(netcdf_dialog_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(netcdf_dialog_tests PRIVATE corvan_gui Qt6::Test)
    target_compile_definitions(netcdf_dialog_tests PRIVATE CORVAN_SAMPLES="${CMAKE_SOURCE_DIR}/samples")
    add_test(NAME netcdf_dialog_tests COMMAND netcdf_dialog_tests)
    set_tests_properties(netcdf_dialog_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
