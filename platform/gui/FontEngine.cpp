#include "FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <map>
#include <tuple>

#include "CString.h"

namespace panel {
namespace gui {
namespace {

// The face Windows programs get for an empty or unknown name when nothing else is there.
const char* const kDefaultFamily = "sans-serif";
const char* const kLastResortFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const int kDefaultPixelSize = 12;

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return library;
}

bool FontconfigReady() {
  static bool ready = FcInit() == FcTrue;
  return ready;
}

// Characters whose glyph is rightly empty.
bool IsBlank(char32_t c) {
  return c <= 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 ||
         c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// Some faces map a character to an empty outline (the CJK font the board ships has no strokes for
// "℃"); such a glyph counts as missing, so another face draws it.
bool FaceDrawsChar(FT_Face face, char32_t c) {
  FT_UInt index = FT_Get_Char_Index(face, c);
  if (index == 0) return false;
  if (IsBlank(c)) return true;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) return false;
  return face->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face->glyph->outline.n_contours > 0;
}

bool FileDrawsChar(const FaceFile& f, char32_t c) {
  FT_Face probe = nullptr;
  if (FT_New_Face(Library(), f.path.c_str(), f.index, &probe) != 0) return false;
  bool has = FaceDrawsChar(probe, c);
  FT_Done_Face(probe);
  return has;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

struct AddedFile {
  std::string path;
  std::vector<FaceFile> faces;
};

struct InstanceKey {
  std::string path;
  int index;
  int size;
  bool bold, italic, mono;
  bool operator<(const InstanceKey& o) const {
    return std::tie(path, index, size, bold, italic, mono) < std::tie(o.path, o.index, o.size, o.bold, o.italic, o.mono);
  }
};

struct Registry {
  std::vector<AddedFile> added;                  // in the order added
  std::map<std::string, FaceFile> names;         // lower-case family name -> face of an added file
  std::map<std::string, std::string> nameOwner;  // lower-case family name -> path of the file
  std::map<InstanceKey, std::shared_ptr<FontInstance>> instances;
  std::map<std::string, std::pair<FaceFile, bool>> systemLookups;  // name -> (face, exact)
  std::map<char32_t, FaceFile> charFallbacks;
};

Registry& Reg() {
  static Registry* registry = new Registry();  // lives to the end of the process: fonts outlive statics
  return *registry;
}

// Family names held in the file's name table, in every language (UTF-8).
std::vector<std::string> FamilyNames(FT_Face face) {
  std::vector<std::string> names;
  if (face->family_name) names.push_back(face->family_name);
  FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
    if (name.name_id != TT_NAME_ID_FONT_FAMILY && name.name_id != TT_NAME_ID_TYPOGRAPHIC_FAMILY) continue;
    std::string text;
    if (name.platform_id == TT_PLATFORM_MICROSOFT || name.platform_id == TT_PLATFORM_APPLE_UNICODE) {
      std::u16string wide;
      for (FT_UInt k = 0; k + 1 < name.string_len; k += 2) {
        wide.push_back(static_cast<char16_t>((name.string[k] << 8) | name.string[k + 1]));
      }
      text = ToUtf8(wide.c_str());
    } else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN) {
      text.assign(reinterpret_cast<const char*>(name.string), name.string_len);
    }
    if (!text.empty() && std::find(names.begin(), names.end(), text) == names.end()) names.push_back(text);
  }
  return names;
}

// fontconfig's choice for a family, and whether it really is that family rather than a substitute.
std::pair<FaceFile, bool> SystemFace(const std::string& family) {
  Registry& reg = Reg();
  auto found = reg.systemLookups.find(family);
  if (found != reg.systemLookups.end()) return found->second;
  std::pair<FaceFile, bool> result{FaceFile{}, false};
  if (FontconfigReady()) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pattern, &res);
    if (match) {
      FcChar8* file = nullptr;
      int index = 0;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        result.first = FaceFile{reinterpret_cast<const char*>(file), index};
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
          if (Lower(reinterpret_cast<const char*>(name)) == Lower(family)) result.second = true;
        }
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  reg.systemLookups[family] = result;
  return result;
}

FaceFile FaceForChar(char32_t c) {
  Registry& reg = Reg();
  auto found = reg.charFallbacks.find(c);
  if (found != reg.charFallbacks.end()) return found->second;
  FaceFile face;
  // The program's own font files come first, then whatever the system has.
  for (auto it = reg.added.rbegin(); it != reg.added.rend() && face.path.empty(); ++it) {
    for (const FaceFile& f : it->faces) {
      if (FileDrawsChar(f, c)) {
        face = f;
        break;
      }
    }
  }
  if (face.path.empty() && FontconfigReady()) {
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult res;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcTrue, nullptr, &res);
    for (int i = 0; fonts && i < fonts->nfont && face.path.empty(); ++i) {
      FcCharSet* has = nullptr;
      FcChar8* file = nullptr;
      int index = 0;
      if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch || !FcCharSetHasChar(has, c)) {
        continue;
      }
      if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
      FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
      FaceFile candidate{reinterpret_cast<const char*>(file), index};
      if (FileDrawsChar(candidate, c)) face = candidate;
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(set);
  }
  reg.charFallbacks[c] = face;
  return face;
}

std::shared_ptr<FontInstance> Instance(const FaceFile& file, int size, bool bold, bool italic, bool mono) {
  Registry& reg = Reg();
  InstanceKey key{file.path, file.index, size, bold, italic, mono};
  auto found = reg.instances.find(key);
  if (found != reg.instances.end()) return found->second;
  auto made = std::make_shared<FontInstance>(file, size, bold, italic, mono);
  reg.instances[key] = made;
  return made;
}

FaceFile ChooseFace(const std::string& family) {
  Registry& reg = Reg();
  std::string key = Lower(family);
  if (!key.empty()) {
    auto named = reg.names.find(key);
    if (named != reg.names.end()) return named->second;
    std::pair<FaceFile, bool> system = SystemFace(family);
    if (system.second) return system.first;
    // A face nothing on the system has is the one the program brought with its latest font file.
    if (!reg.added.empty() && !reg.added.back().faces.empty()) {
      reg.names[key] = reg.added.back().faces.front();
      reg.nameOwner[key] = reg.added.back().path;
      return reg.added.back().faces.front();
    }
    if (!system.first.path.empty()) return system.first;
  }
  std::pair<FaceFile, bool> fallback = SystemFace(kDefaultFamily);
  if (!fallback.first.path.empty()) return fallback.first;
  return FaceFile{kLastResortFile, 0};
}

}  // namespace

char32_t NextChar(const char16_t* text, int& i, int end) {
  char32_t c = text[i++];
  if (c >= 0xD800 && c < 0xDC00 && i < end) {
    char32_t low = text[i];
    if (low >= 0xDC00 && low < 0xE000) {
      ++i;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return c;
}

FontInstance::FontInstance(const FaceFile& file, int pixelSize, bool bold, bool italic, bool mono)
    : m_file(file), m_pixelSize(std::max(pixelSize, 1)), m_bold(bold), m_italic(italic), m_mono(mono) {
  FT_Face face = nullptr;
  if (!Library() || FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) return;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(m_pixelSize)) != 0) {
    FT_Done_Face(face);
    return;
  }
  m_face = face;
  m_ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  m_descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  if (face->family_name) m_family = face->family_name;
}

FontInstance::~FontInstance() {
  if (m_face) FT_Done_Face(static_cast<FT_Face>(m_face));
}

int FontInstance::AverageWidth() {
  if (m_averageWidth < 0) m_averageWidth = GetGlyph(U'x').advance;
  return m_averageWidth;
}

bool FontInstance::HasGlyph(char32_t c) const { return m_face && FaceDrawsChar(static_cast<FT_Face>(m_face), c); }

FontInstance* FontInstance::FallbackFor(char32_t c) {
  auto found = m_fallbacks.find(c);
  if (found != m_fallbacks.end()) return found->second;
  FontInstance* other = nullptr;
  FaceFile file = FaceForChar(c);
  if (!file.path.empty() && !(file == m_file)) {
    other = Instance(file, m_pixelSize, m_bold, m_italic, m_mono).get();
    if (!other->Valid()) other = nullptr;
  }
  m_fallbacks[c] = other;
  return other;
}

const FontInstance::Glyph& FontInstance::GetGlyph(char32_t c) {
  auto found = m_glyphs.find(c);
  if (found != m_glyphs.end()) return found->second;
  Glyph g;
  if (c >= 0x20 && c != 0x7F) {
    if (HasGlyph(c)) {
      Render(c, g);
    } else if (FontInstance* other = FallbackFor(c)) {
      g = other->GetGlyph(c);
    } else if (m_face) {
      Render(c, g);  // the face's missing-glyph box
    }
  }
  return m_glyphs.emplace(c, std::move(g)).first->second;
}

void FontInstance::Render(char32_t c, Glyph& g) {
  FT_Face face = static_cast<FT_Face>(m_face);
  FT_UInt index = FT_Get_Char_Index(face, c);
  FT_Int32 flags = m_mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) : (FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP);
  if (FT_Load_Glyph(face, index, flags) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (m_bold) FT_GlyphSlot_Embolden(slot);
  if (m_italic) FT_GlyphSlot_Oblique(slot);
  if (FT_Render_Glyph(slot, m_mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return;
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  const FT_Bitmap& bm = slot->bitmap;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < g.width; ++x) {
      uint8_t v;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
        v = row[x];
      } else {
        v = 0;
      }
      g.coverage[static_cast<size_t>(y) * g.width + x] = v;
    }
  }
}

int FontInstance::Measure(const char16_t* text, int begin, int end) {
  int width = 0;
  for (int i = begin; i < end;) width += GetGlyph(NextChar(text, i, end)).advance;
  return width;
}

RECT FontInstance::InkBox(int x, int y, const char16_t* text, int begin, int end) {
  RECT box = MakeRect(0, 0, 0, 0);
  int pen = x;
  for (int i = begin; i < end;) {
    const Glyph& g = GetGlyph(NextChar(text, i, end));
    if (g.width > 0 && g.height > 0) {
      RECT glyph = MakeRect(pen + g.left, y - g.top, pen + g.left + g.width, y - g.top + g.height);
      UnionRect(&box, &box, &glyph);
    }
    pen += g.advance;
  }
  return box;
}

void FontInstance::Draw(Surface& s, const Region& clip, int x, int y, const char16_t* text, int begin, int end,
                        uint32_t pixel) {
  int pen = x;
  for (int i = begin; i < end;) {
    const Glyph& g = GetGlyph(NextChar(text, i, end));
    if (g.width > 0 && g.height > 0) {
      BlendMask(s, clip, pen + g.left, y - g.top, g.coverage.data(), g.width, g.height, g.width, pixel);
    }
    pen += g.advance;
  }
}

int PixelSizeFor(const LOGFONTW& font, const FaceFile& file) {
  if (font.lfHeight < 0) return -font.lfHeight;
  if (font.lfHeight == 0) return kDefaultPixelSize;
  // A positive height is the cell (ascent plus descent): scale the em to fit it.
  FT_Face face = nullptr;
  int size = font.lfHeight;
  if (Library() && FT_New_Face(Library(), file.path.c_str(), file.index, &face) == 0) {
    int cell = face->ascender - face->descender;
    if (cell > 0) size = std::max(1, static_cast<int>(static_cast<int64_t>(font.lfHeight) * face->units_per_EM / cell));
    FT_Done_Face(face);
  }
  return size;
}

std::shared_ptr<FontInstance> ResolveFont(const LOGFONTW& font) {
  WCHAR face[LF_FACESIZE + 1] = {};
  for (int i = 0; i < LF_FACESIZE && font.lfFaceName[i]; ++i) face[i] = font.lfFaceName[i];
  FaceFile file = ChooseFace(ToUtf8(face));
  return Instance(file, PixelSizeFor(font, file), font.lfWeight >= FW_SEMIBOLD, font.lfItalic != 0,
                  font.lfQuality == NONANTIALIASED_QUALITY);
}

int AddFontFile(const std::string& path) {
  if (!Library()) return 0;
  FT_Face face = nullptr;
  if (FT_New_Face(Library(), path.c_str(), -1, &face) != 0) return 0;
  long count = face->num_faces;
  FT_Done_Face(face);
  Registry& reg = Reg();
  AddedFile added{path, {}};
  for (long i = 0; i < count; ++i) {
    if (FT_New_Face(Library(), path.c_str(), i, &face) != 0) continue;
    FaceFile f{path, static_cast<int>(i)};
    added.faces.push_back(f);
    for (const std::string& name : FamilyNames(face)) {
      std::string key = Lower(name);
      if (!reg.names.count(key)) {
        reg.names[key] = f;
        reg.nameOwner[key] = path;
      }
    }
    FT_Done_Face(face);
  }
  if (added.faces.empty()) return 0;
  int n = static_cast<int>(added.faces.size());
  reg.added.push_back(std::move(added));
  reg.charFallbacks.clear();
  return n;
}

bool RemoveFontFile(const std::string& path) {
  Registry& reg = Reg();
  auto it = std::find_if(reg.added.begin(), reg.added.end(), [&](const AddedFile& a) { return a.path == path; });
  if (it == reg.added.end()) return false;
  reg.added.erase(it);
  for (auto n = reg.nameOwner.begin(); n != reg.nameOwner.end();) {
    if (n->second == path) {
      reg.names.erase(n->first);
      n = reg.nameOwner.erase(n);
    } else {
      ++n;
    }
  }
  reg.charFallbacks.clear();
  // Fonts already made from the file keep drawing; new ones no longer find it.
  return true;
}

void ResetFontFiles() {
  Registry& reg = Reg();
  reg.added.clear();
  reg.names.clear();
  reg.nameOwner.clear();
  reg.charFallbacks.clear();
}

}  // namespace gui
}  // namespace panel
