# Linux desktops on X11 (or XWayland): xcb through Qt's own connection, a kernel-released lock,
# libcanberra for the desktop's event sounds (its header here; the library is loaded at the
# first sound); libxdo (over Xlib) for the trading client's
# window. libxdo ships no pkg-config file.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET GLOBAL xcb)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET GLOBAL x11)
pkg_check_modules(CANBERRA REQUIRED IMPORTED_TARGET GLOBAL libcanberra)
find_path(XDO_INCLUDE_DIR xdo.h REQUIRED)
find_library(XDO_LIBRARY xdo REQUIRED)
target_sources(stockcalc_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/x11_platform.cpp)
target_include_directories(stockcalc_platform PRIVATE ${XDO_INCLUDE_DIR})
target_include_directories(stockcalc_platform PRIVATE ${CANBERRA_INCLUDE_DIRS})
target_link_libraries(stockcalc_platform PRIVATE PkgConfig::XCB PkgConfig::X11 ${XDO_LIBRARY}
                      ${CMAKE_DL_LIBS})
