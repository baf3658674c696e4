#pragma once

#include "palette/ImagePalette.h"

#include <string>

// Reads an image file through Qt's image readers (PNG, JPEG, BMP, GIF, and WebP where its
// plugin is installed) into the histogram of its pixels; the first frame of an animation. A
// file that cannot be read gives the reader's reason.
ImageReading ReadImageFile(const std::string& file);
