# What any Linux desktop does, whatever its window system: a kernel-released lock, libcanberra
# for the desktop's event sounds (its header here; the library is loaded at the first sound),
# the desktop's URL handler, the choice of Qt's window system, and handing freed memory back.
pkg_check_modules(CANBERRA REQUIRED IMPORTED_TARGET GLOBAL libcanberra)
target_sources(stockcalc_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/linux_desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_system.cpp
)
target_include_directories(stockcalc_platform PRIVATE ${CANBERRA_INCLUDE_DIRS})
target_link_libraries(stockcalc_platform PRIVATE ${CMAKE_DL_LIBS})
