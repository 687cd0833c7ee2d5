#include "host/toolkit/layout_units.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace host {

namespace {

constexpr double kUnitsPerPixelAt96Dpi = 4.0;

// Pixels per unit along one axis of the primary screen (96 dpi when there is no screen).
double pixelsPerUnit(bool horizontal)
{
    double dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    }
    return dpi / 96.0 / kUnitsPerPixelAt96Dpi;
}

} // namespace

int unitsToPixelsX(int units)
{
    return static_cast<int>(std::lround(units * pixelsPerUnit(true)));
}

int unitsToPixelsY(int units)
{
    return static_cast<int>(std::lround(units * pixelsPerUnit(false)));
}

int pixelsToUnitsX(int pixels)
{
    return static_cast<int>(std::lround(pixels / pixelsPerUnit(true)));
}

int pixelsToUnitsY(int pixels)
{
    return static_cast<int>(std::lround(pixels / pixelsPerUnit(false)));
}

} // namespace host
