// PNG files for bitmaps and screen dumps (libpng). Internal to the layer.
#pragma once

#include <memory>
#include <string>

#include "Surface.h"

namespace panel {
namespace gui {

// Any PNG colour type and depth, as opaque 0x00RRGGBB pixels (an alpha channel is dropped). Null when
// the file is missing or not a readable PNG.
std::unique_ptr<Surface> LoadPng(const std::string& path);
// 8-bit RGB. Written to a temporary file and renamed, so a reader never sees half a picture.
bool SavePng(const std::string& path, const Surface& surface);

}  // namespace gui
}  // namespace panel
