#pragma once
// The X11 connection Qt uses, shared by the window hints and the window driver.

#include <xcb/xcb.h>

namespace platform::x11 {

xcb_atom_t InternAtom(xcb_connection_t *connection, const char *name);

// The X11 connection Qt itself uses; none when Qt runs on another platform plugin
// (offscreen, Wayland) or the display has gone.
xcb_connection_t *QtConnection();

}  // namespace platform::x11
