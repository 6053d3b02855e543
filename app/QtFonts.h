// The fonts that Vornix's forms name, on the platform at hand.
//
// The forms name Windows fonts: "MS Sans Serif" for dialogs and windows,
// "Courier New" for values. Where the platform lacks such a family, the
// platform's own general (sans-serif) or fixed-pitch family stands in;
// families the platform has, and other names, are used as they are.
// InstallFontSubstitutions makes every QFont that names one of these
// families find its stand-in too. Needs a QGuiApplication.
#pragma once

#include <QFont>
#include <QString>

#include "vorn/host/FontStyles.h"

namespace vorn {

// The family to draw `family` with: itself when the platform has it, else
// the stand-in of a known Windows family, else itself (Qt then matches as
// it can).
QString PlatformFontFamily(const QString& family);

// A font of `family` (mapped as above) at `pointSize` with `style`.
QFont VornixFont(const QString& family, int pointSize, TFontStyles style = fsNone);

// Sets the bold, italic, underline and strike-out of `font` from `style`.
void ApplyFontStyle(QFont& font, TFontStyles style);

// Registers the stand-ins of the known Windows families with QFont.
void InstallFontSubstitutions();

}  // namespace vorn
