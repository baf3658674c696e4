#pragma once

#include "platform/Services.h"

#include <QRect>

class QScreen;

// Where a screen's pixels lie on the desktop, in device pixels. Qt keeps each screen's native
// top-left corner as its logical top-left and scales only the size by the screen's device pixel
// ratio, so this is the screen's native rectangle. A desktop image holds the screen's pixels at
// screenDeviceRect(screen).translated(-origin).
QRect screenDeviceRect(const QScreen& screen);

// The smallest rectangle that holds the device rectangle of every screen.
QRect desktopDeviceRect();

// How this session lets a program read the screen.
enum class CaptureRoute {
    Grab,   // the window system hands out screen pixels (X11, and Qt's other platforms)
    Portal, // a Wayland session: only the desktop's screenshot portal may read the screen
};

// Chosen from the session type (XDG_SESSION_TYPE, else WAYLAND_DISPLAY), not from Qt's platform
// name: under XWayland Qt runs on xcb, yet the X server sees none of the Wayland windows.
CaptureRoute captureRoute();

// Every screen grabbed with QScreen::grabWindow(0) and placed at its device rectangle in one
// image (Format_RGB32, device pixel ratio 1). Fails with a reason when a screen cannot be read.
CaptureResult grabScreens();
