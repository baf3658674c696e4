#pragma once

#include "platform/Services.h"

#include <QRect>

#include <optional>

class QScreen;

// Where a screen's pixels lie on the desktop, in device pixels. Qt keeps each screen's native
// top-left corner as its logical top-left and scales only the size by the screen's device pixel
// ratio, so this is the screen's native rectangle. A desktop image holds the screen's pixels at
// screenDeviceRect(screen).translated(-origin).
QRect screenDeviceRect(const QScreen& screen);

// A logical rectangle times `scale`, its edges rounded to the nearest whole pixel.
QRect scaledRect(const QRect& logical, qreal scale);

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

// The pointer in device pixels of the desktop, where the window system knows it more exactly
// than Qt's pointer events, which reach widgets rounded to whole logical pixels on X11 (so that
// at a device pixel ratio of 2 every odd device pixel would be out of reach). Nothing elsewhere.
std::optional<QPoint> nativePointerPosition();

// Whether this window system lets a program place its windows (not so on Wayland).
bool windowsCanBePlaced();
