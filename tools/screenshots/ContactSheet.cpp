#include "ContactSheet.h"

#include <algorithm>

#include "AppGlobals.h"
#include "Gui.h"

namespace scenes {
namespace {

const int kColumns = 4;
const int kGap = 12;
const int kTitleBand = 44;
const int kHeadingBand = 36;
const int kCaptionBand = 24;
const int kCellWidth = panel::kScreenWidth;
const int kCellHeight = kCaptionBand + panel::kScreenHeight;
const COLORREF kBackground = RGB(36, 40, 46);
const COLORREF kHeadingColor = RGB(255, 255, 255);
const COLORREF kCaptionColor = RGB(200, 206, 214);

void Write(HDC dc, const CString& text, RECT box, HFONT font, COLORREF color) {
  SelectObject(dc, font);
  SetTextColor(dc, color);
  DrawTextW(dc, text, -1, &box, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

void ContactSheet::Section(const CString& heading) {
  Entry e;
  e.heading = true;
  e.text = heading;
  m_entries.push_back(std::move(e));
}

void ContactSheet::Add(const CString& caption) {
  panel::PumpMessages();
  Entry e;
  e.text = caption;
  e.pixels.resize(static_cast<size_t>(panel::kScreenWidth) * panel::kScreenHeight * 4);
  uint8_t* p = e.pixels.data();
  for (int y = 0; y < panel::kScreenHeight; ++y) {
    for (int x = 0; x < panel::kScreenWidth; ++x, p += 4) {
      const COLORREF c = panel::ScreenPixel(x, y);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  m_entries.push_back(std::move(e));
}

size_t ContactSheet::Pictures() const {
  return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return !e.heading; }));
}

bool ContactSheet::Save(const std::string& path) const {
  // Where each entry goes: a heading ends the row before it; pictures fill rows of four.
  std::vector<POINT> at;
  int y = kTitleBand, column = 0;
  for (const Entry& e : m_entries) {
    if (e.heading) {
      if (column > 0) y += kCellHeight + kGap;
      at.push_back(POINT{kGap, y});
      y += kHeadingBand;
      column = 0;
      continue;
    }
    if (column == kColumns) {
      y += kCellHeight + kGap;
      column = 0;
    }
    at.push_back(POINT{kGap + column * (kCellWidth + kGap), y});
    ++column;
  }
  if (column > 0) y += kCellHeight + kGap;
  const int width = kGap + kColumns * (kCellWidth + kGap);
  const int height = y;

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP sheet = CreateCompatibleBitmap(nullptr, width, height);
  HGDIOBJ old = SelectObject(dc, sheet);
  RECT all{0, 0, width, height};
  HBRUSH background = CreateSolidBrush(kBackground);
  FillRect(dc, &all, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  Write(dc, m_title, RECT{kGap, 0, width - kGap, kTitleBand - 8}, g_font18, kHeadingColor);
  HDC picture = CreateCompatibleDC(nullptr);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    const Entry& e = m_entries[i];
    const POINT p = at[i];
    if (e.heading) {
      Write(dc, e.text, RECT{p.x, p.y, width - kGap, p.y + kHeadingBand - 6}, g_font15, kHeadingColor);
      continue;
    }
    Write(dc, e.text, RECT{p.x, p.y, p.x + kCellWidth, p.y + kCaptionBand - 4}, g_font12, kCaptionColor);
    HBITMAP shot = CreateBitmap(panel::kScreenWidth, panel::kScreenHeight, 1, 32, e.pixels.data());
    HGDIOBJ before = SelectObject(picture, shot);
    BitBlt(dc, p.x, p.y + kCaptionBand, panel::kScreenWidth, panel::kScreenHeight, picture, 0, 0, SRCCOPY);
    SelectObject(picture, before);
    DeleteObject(shot);
  }
  DeleteDC(picture);
  SelectObject(dc, old);
  DeleteDC(dc);
  const bool saved = panel::SaveBitmapPng(sheet, path);
  DeleteObject(sheet);
  return saved;
}

}  // namespace scenes
