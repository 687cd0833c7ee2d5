// Resource paths of the pictures the program ships; linking varnelook_assets embeds them.
// The stock pictures are listed, by their toolkit names, in stockIndex (format: see
// draw_pictures.py); their files live under stockFolder.
#pragma once

namespace assets {

extern const char* const logo;        // 680 x 113 GIF banner
extern const char* const zipPicture;  // 32 x 32 24-bit BMP, white is transparent
extern const char* const filePicture; // 32 x 32 24-bit BMP, white is transparent
extern const char* const stockIndex;  // "NAME KIND ID FILE [HOTSPOT_X HOTSPOT_Y]" lines
extern const char* const stockFolder; // prefix of the FILE column, ends with "/"

} // namespace assets
