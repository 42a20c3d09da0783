#include "FontEngine.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "GuiFixture.h"

namespace {

const char* const kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const COLORREF kOrange = RGB(255, 64, 0);

class FontEngine : public guitest::GuiTest {
protected:
  void SetUp() override {
    struct stat st{};
    if (stat(kFontFile, &st) != 0) GTEST_SKIP() << "fonts-wqy-microhei is not installed";
    // The program's font file, as the board's root holds it.
    std::filesystem::create_directories(m_root / "ResidentFlash/Quellora");
    std::filesystem::copy_file(kFontFile, m_root / "ResidentFlash/Quellora/msyh.ttf");
  }

  // Draws text in a point font of the face on black; returns the canvas bitmap's pixels via GetPixel.
  struct Drawn {
    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
    int inkRightOfPrefix = 0;  // ink pixels right of the first prefixLength characters
  };
  Drawn Draw(const char16_t* face, int tenths, BYTE quality, const char16_t* text, int prefixLength) {
    Drawn d;
    d.width = 240;
    d.height = 60;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, d.width, d.height);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, d.width, d.height, RGB(0, 0, 0));
    LOGFONTW lf{};
    lf.lfHeight = tenths;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = quality;
    WStrCopy(lf.lfFaceName, LF_FACESIZE, face);
    CFont font;
    font.CreatePointFontIndirect(&lf, &dc);
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kOrange);
    dc.TextOut(2, 2, text, static_cast<int>(WStrLen(text)));
    int prefix = 2 + dc.GetTextExtent(text, prefixLength).cx;
    for (int y = 0; y < d.height; ++y) {
      for (int x = 0; x < d.width; ++x) {
        COLORREF c = dc.GetPixel(x, y);
        d.pixels.push_back(c);
        if (c != 0 && x >= prefix) ++d.inkRightOfPrefix;
      }
    }
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
    return d;
  }
};

TEST_F(FontEngine, AddedFile_ServesTheFaceTheProgramAsksFor) {
  LOGFONTW lf{};
  lf.lfHeight = -28;
  WStrCopy(lf.lfFaceName, LF_FACESIZE, u"微软雅黑");
  EXPECT_NE(panel::gui::ResolveFont(lf)->File().path, m_root / "ResidentFlash/Quellora/msyh.ttf");
  EXPECT_EQ(AddFontResourceW(u"\\ResidentFlash\\Quellora\\msyh.ttf"), 2);  // the collection's two faces
  EXPECT_EQ(panel::gui::ResolveFont(lf)->File().path, m_root / "ResidentFlash/Quellora/msyh.ttf");
  // Its own family names find it too, in every language the file gives them.
  WStrCopy(lf.lfFaceName, LF_FACESIZE, u"文泉驿微米黑");
  EXPECT_EQ(panel::gui::ResolveFont(lf)->File().path, m_root / "ResidentFlash/Quellora/msyh.ttf");
  EXPECT_TRUE(RemoveFontResourceW(u"\\ResidentFlash\\Quellora\\msyh.ttf"));
  EXPECT_FALSE(RemoveFontResourceW(u"\\ResidentFlash\\Quellora\\msyh.ttf"));
  EXPECT_EQ(AddFontResourceW(u"\\ResidentFlash\\Quellora\\missing.ttf"), 0);
}

TEST_F(FontEngine, PointFonts_ConvertAt96Dpi) {
  struct Case {
    int tenths;
    LONG height;
  };
  Case cases[] = {{210, -28}, {450, -60}, {180, -24}, {150, -20}, {120, -16}, {90, -12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tenths);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(c.tenths, u"微软雅黑"));
    LOGFONTW lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, c.height);
  }
}

TEST_F(FontEngine, Glyphs_AreBlendedInTheAskedColour) {
  ASSERT_EQ(AddFontResourceW(u"\\ResidentFlash\\Quellora\\msyh.ttf"), 2);
  Drawn d = Draw(u"微软雅黑", 210, CLEARTYPE_QUALITY, u"温度25℃", 4);
  int full = 0, partial = 0;
  for (COLORREF c : d.pixels) {
    if (c == 0) continue;
    if (c == kOrange) {
      ++full;
      continue;
    }
    ++partial;
    // Anti-aliased edges are the colour at a lower strength: no other hue appears.
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    EXPECT_EQ(b, 0);
    EXPECT_NEAR(g, r * 64 / 255, 1);
  }
  EXPECT_GT(full, 100);
  EXPECT_GT(partial, 50);
  EXPECT_GT(d.inkRightOfPrefix, 20);  // "℃" drew
}

TEST_F(FontEngine, NonAntialiasedQuality_DrawsOnlyTheColour) {
  ASSERT_EQ(AddFontResourceW(u"\\ResidentFlash\\Quellora\\msyh.ttf"), 2);
  Drawn d = Draw(u"微软雅黑", 150, NONANTIALIASED_QUALITY, u"模式", 0);
  int ink = 0;
  for (COLORREF c : d.pixels) {
    if (c == 0) continue;
    EXPECT_EQ(c, kOrange);
    ++ink;
  }
  EXPECT_GT(ink, 50);
}

TEST_F(FontEngine, MissingGlyphs_ComeFromAFaceThatHasThem) {
  // DejaVu Sans has no Han characters; they are drawn from another face all the same.
  Drawn d = Draw(u"DejaVu Sans", 150, CLEARTYPE_QUALITY, u"A温", 1);
  EXPECT_GT(d.inkRightOfPrefix, 20);
}

}  // namespace
