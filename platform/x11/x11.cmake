# Linux desktops on X11 (or XWayland): the Linux desktop's services, then xcb through Qt's own
# connection for the window hints and frame, and libxdo (over Xlib) for the trading client's
# window. libxdo ships no pkg-config file.
include(${CMAKE_CURRENT_LIST_DIR}/../linux/linux.cmake)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET GLOBAL xcb)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET GLOBAL x11)
find_path(XDO_INCLUDE_DIR xdo.h REQUIRED)
find_library(XDO_LIBRARY xdo REQUIRED)
target_sources(stockcalc_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/x11_connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_platform.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_window_driver.cpp
)
target_include_directories(stockcalc_platform PRIVATE ${XDO_INCLUDE_DIR})
target_link_libraries(stockcalc_platform PRIVATE PkgConfig::XCB PkgConfig::X11 ${XDO_LIBRARY})
