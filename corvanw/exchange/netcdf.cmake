# NetCDF through the C library from the system (libnetcdf-dev).
find_package(PkgConfig REQUIRED)
pkg_check_modules(NETCDF REQUIRED IMPORTED_TARGET netcdf)
target_sources(corvan_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/netcdf_content.h ${CMAKE_CURRENT_LIST_DIR}/netcdf_content.cpp
    ${CMAKE_CURRENT_LIST_DIR}/netcdf_writer.h ${CMAKE_CURRENT_LIST_DIR}/netcdf_writer.cpp
)
target_link_libraries(corvan_core PUBLIC PkgConfig::NETCDF)
