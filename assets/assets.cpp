#include "assets/assets.h"

namespace assets {

const char* const logo = ":/assets/logo.gif";
const char* const zipPicture = ":/assets/zip.bmp";
const char* const filePicture = ":/assets/file.bmp";
const char* const stockIndex = ":/assets/stock/index.txt";
const char* const stockFolder = ":/assets/stock/";

} // namespace assets
