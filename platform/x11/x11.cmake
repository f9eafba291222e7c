# Linux desktops on X11 (or XWayland): xcb through Qt's own connection, a kernel-released lock,
# libcanberra for the desktop's event sounds.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET GLOBAL xcb)
pkg_check_modules(CANBERRA REQUIRED IMPORTED_TARGET GLOBAL libcanberra)
target_sources(stockcalc_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/x11_platform.cpp)
target_link_libraries(stockcalc_platform PRIVATE PkgConfig::XCB PkgConfig::CANBERRA)
