#include "Png.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "Paths.h"

namespace panel {
namespace gui {

std::unique_ptr<Surface> LoadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return nullptr;
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  if (image.width == 0 || image.height == 0 || image.width > 8192 || image.height > 8192) {
    png_image_free(&image);
    return nullptr;
  }
  auto surface = std::make_unique<Surface>(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, surface->Pixels().data(), 0, nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  for (uint32_t& p : surface->Pixels()) p &= 0xFFFFFFu;
  return surface;
}

bool SavePng(const std::string& path, const Surface& surface) {
  size_t slash = path.rfind('/');
  if (slash != std::string::npos) MakeDirs(path.substr(0, slash));
  std::vector<uint8_t> rgb(static_cast<size_t>(surface.Width()) * surface.Height() * 3);
  size_t i = 0;
  for (uint32_t p : surface.Pixels()) {
    rgb[i++] = static_cast<uint8_t>(p >> 16);
    rgb[i++] = static_cast<uint8_t>(p >> 8);
    rgb[i++] = static_cast<uint8_t>(p);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGB;
  std::string temp = path + ".tmp";
  if (!png_image_write_to_file(&image, temp.c_str(), 0, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    std::remove(temp.c_str());
    return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace gui
}  // namespace panel
