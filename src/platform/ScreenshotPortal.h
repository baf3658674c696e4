#pragma once

#include "platform/Services.h"

#include <QDBusConnection>
#include <QImage>
#include <QString>

#include <chrono>

// The answer to one screenshot request: exactly one of taken (with the image), cancelled by the
// user, or failed (with the reason, in words for the user).
struct PortalShot {
    enum class Outcome { Taken, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QImage image;
    QString reason;
};

// Asks the desktop's screenshot portal (org.freedesktop.portal.Screenshot on `bus`) for a
// screenshot of the whole desktop without a dialog, and waits at most `timeout` for its answer,
// running the event loop meanwhile. Every D-Bus error, a missing portal and a late answer are
// failures. The picture file the portal leaves behind is removed once it has been read.
PortalShot takePortalScreenshot(QDBusConnection bus, std::chrono::milliseconds timeout);

// A screenshot of the whole desktop in logical layout (the screens' virtual geometry mapped onto
// the whole picture, as the portal delivers it) as the frozen desktop, its scale taken from the
// picture's width.
CaptureResult desktopFromPortalShot(const QImage& shot);
