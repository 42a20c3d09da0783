// Text rendering behind HFONT: faces found among the added font files and through fontconfig,
// rasterised by FreeType at one pixel size each, glyphs cached per size. A character the face lacks
// is taken from another face that has it (the added files first), so CJK text and "℃" render with
// any face. Internal to the layer; GUI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Surface.h"
#include "WinGdi.h"

namespace panel {
namespace gui {

struct FaceFile {
  std::string path;
  int index = 0;
  bool operator==(const FaceFile& o) const { return path == o.path && index == o.index; }
};

class FontInstance {
public:
  struct Glyph {
    int advance = 0;  // pixels
    int left = 0;     // bitmap offset from the pen position
    int top = 0;      // bitmap top above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
  };

  FontInstance(const FaceFile& file, int pixelSize, bool bold, bool italic, bool mono);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  bool Valid() const { return m_face != nullptr; }
  int Ascent() const { return m_ascent; }
  int Descent() const { return m_descent; }
  int Height() const { return m_ascent + m_descent; }
  int PixelSize() const { return m_pixelSize; }
  const std::string& Family() const { return m_family; }
  const FaceFile& File() const { return m_file; }
  int AverageWidth();

  const Glyph& GetGlyph(char32_t c);
  // Width in pixels of text[begin, end), UTF-16.
  int Measure(const char16_t* text, int begin, int end);
  // The box the glyphs of text[begin, end) cover when drawn with the baseline at y from x; empty
  // when none has ink (blanks).
  RECT InkBox(int x, int y, const char16_t* text, int begin, int end);
  // Draws text[begin, end) with its baseline at y, starting at x.
  void Draw(Surface& s, const Region& clip, int x, int y, const char16_t* text, int begin, int end, uint32_t pixel);

private:
  bool HasGlyph(char32_t c) const;
  void Render(char32_t c, Glyph& g);
  FontInstance* FallbackFor(char32_t c);

  FaceFile m_file;
  void* m_face = nullptr;  // FT_Face
  int m_pixelSize;
  bool m_bold;
  bool m_italic;
  bool m_mono;
  int m_ascent = 0;
  int m_descent = 0;
  int m_averageWidth = -1;
  std::string m_family;
  std::unordered_map<char32_t, Glyph> m_glyphs;
  std::unordered_map<char32_t, FontInstance*> m_fallbacks;
};

// The rendering of a logical font; never null (a font with no face on the system draws nothing).
std::shared_ptr<FontInstance> ResolveFont(const LOGFONTW& font);
// The pixel em size a LOGFONT asks for.
int PixelSizeFor(const LOGFONTW& font, const FaceFile& file);

// Font files added by the program. Returns the number of faces registered.
int AddFontFile(const std::string& path);
bool RemoveFontFile(const std::string& path);
// Forgets every added file and alias (tests start from the system's fonts).
void ResetFontFiles();

// Decodes one character of UTF-16 at text[i], advancing i.
char32_t NextChar(const char16_t* text, int& i, int end);

}  // namespace gui
}  // namespace panel
