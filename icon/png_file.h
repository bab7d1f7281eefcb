// Reading and writing the icons as PNG files.
#pragma once

#include <string>

#include "icon/image.h"

// Writes 8-bit RGBA; false if the file cannot be written.
bool writePng(const std::string& path, const Image& image);

// Reads any PNG as 8-bit RGBA; false (and `image` untouched) on failure.
bool readPng(const std::string& path, Image& image);
