#pragma once

#include "platform/Services.h"

#include <QDBusConnection>
#include <QImage>
#include <QString>

// The answer to one screenshot request: exactly one of taken (with the image), refused by the
// desktop or its user, or failed (with the reason, in words for the user).
struct PortalShot {
    enum class Outcome { Taken, Refused, Failed };
    Outcome outcome = Outcome::Failed;
    QImage image;
    QString reason;
};

// Asks the desktop's screenshot portal (org.freedesktop.portal.Screenshot on `bus`) for a
// screenshot of the whole desktop without a dialog and waits for its answer, running the event
// loop meanwhile, so windows keep painting. The desktop may first ask the user for permission,
// which takes as long as the user does: there is no time limit of our own, only the portal
// leaving the bus or the bus closing ends the wait early. Every D-Bus error and a missing
// portal are failures. The picture file the portal leaves behind is removed once it has been
// read.
PortalShot takePortalScreenshot(QDBusConnection bus);

// A screenshot of the whole desktop in logical layout (the screens' virtual geometry mapped onto
// the whole picture, as the portal delivers it) as the frozen desktop, its scale taken from the
// picture's width.
CaptureResult desktopFromPortalShot(const QImage& shot);
