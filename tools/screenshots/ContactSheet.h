// A contact sheet: many pictures of the 480 x 272 screen, at full size, in rows of four under
// section headings, each with its caption above it, written as one PNG. The headings and captions are
// drawn in the program's own fonts, so a sheet is saved while a dealer's look is made (DealerLook).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CString.h"

namespace scenes {

class ContactSheet {
public:
  explicit ContactSheet(const CString& title) : m_title(title) {}

  // Starts a new row under a heading.
  void Section(const CString& heading);
  // Takes the screen as it stands into the next place, under its caption.
  void Add(const CString& caption);
  size_t Pictures() const;
  // Lays the sheet out and writes it; false when the file cannot be written.
  bool Save(const std::string& path) const;

private:
  struct Entry {
    bool heading = false;
    CString text;
    std::vector<uint8_t> pixels;  // 32-bit blue, green, red, unused per pixel, row by row
  };
  CString m_title;
  std::vector<Entry> m_entries;
};

}  // namespace scenes
