// Layout units, in which the program gives positions and sizes: 4 units per pixel at 96 dpi in
// both directions, scaled with the screen's logical dpi.
#pragma once

namespace host {

int unitsToPixelsX(int units);
int unitsToPixelsY(int units);
int pixelsToUnitsX(int pixels);
int pixelsToUnitsY(int pixels);

} // namespace host
