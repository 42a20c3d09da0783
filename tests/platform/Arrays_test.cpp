#include "Arrays.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::vector<DWORD> Items(const CDWordArray& a) {
  std::vector<DWORD> out;
  for (INT_PTR i = 0; i < a.GetSize(); ++i) out.push_back(a[i]);
  return out;
}

CDWordArray Make(std::initializer_list<DWORD> values) {
  CDWordArray a;
  for (DWORD v : values) a.Add(v);
  return a;
}

TEST(CArray, SizeChanges_KeepElementsAndZeroNewOnes) {
  CDWordArray a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.Add(7), 0);
  EXPECT_EQ(a.Add(8), 1);
  a.SetSize(4);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{7, 8, 0, 0}));
  EXPECT_EQ(a.GetCount(), 4);
  a.SetAtGrow(5, 9);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{7, 8, 0, 0, 0, 9}));
  a.ElementAt(1) = 80;
  a.SetAt(2, 20);
  EXPECT_EQ(a.GetData()[1], 80u);
  EXPECT_EQ(a.GetAt(2), 20u);
  a.SetSize(1);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{7}));
  a.RemoveAll();
  EXPECT_TRUE(a.IsEmpty());
}

TEST(CArray, OutOfRange_RaisesInvalidArgumentAndChangesNothing) {
  struct Case {
    const char* name;
    std::function<void(CDWordArray&)> op;
  };
  const Case cases[] = {
      {"GetAt past the end", [](CDWordArray& a) { (void)a.GetAt(3); }},
      {"GetAt negative", [](CDWordArray& a) { (void)a.GetAt(-1); }},
      {"const operator[] past the end", [](CDWordArray& a) { (void)static_cast<const CDWordArray&>(a)[3]; }},
      {"operator[] write past the end", [](CDWordArray& a) { a[3] = 1; }},
      {"SetAt past the end", [](CDWordArray& a) { a.SetAt(3, 1); }},
      {"ElementAt far away", [](CDWordArray& a) { a.ElementAt(1000000) = 1; }},
      {"RemoveAt past the end", [](CDWordArray& a) { a.RemoveAt(3); }},
      {"RemoveAt range overhanging", [](CDWordArray& a) { a.RemoveAt(2, 2); }},
      {"RemoveAt negative count", [](CDWordArray& a) { a.RemoveAt(0, -1); }},
      {"InsertAt negative", [](CDWordArray& a) { a.InsertAt(-1, 5); }},
      {"SetSize negative", [](CDWordArray& a) { a.SetSize(-1); }},
      {"SetAtGrow negative", [](CDWordArray& a) { a.SetAtGrow(-1, 5); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CDWordArray a = Make({1, 2, 3});
    EXPECT_THROW(c.op(a), CInvalidArgException);
    EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 2, 3}));
  }
  // The framework's error is an exception of the class library, and a std::exception for generic guards.
  CStringArray texts;
  texts.SetSize(500);
  EXPECT_THROW((void)texts[500], CException);
  EXPECT_THROW((void)texts.GetAt(-1), std::exception);
}

TEST(CArray, InsertAndRemove_ShiftTheRest) {
  CDWordArray a = Make({1, 2, 3});
  a.InsertAt(1, 9, 2);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 9, 9, 2, 3}));
  a.InsertAt(5, 4);  // at the end
  a.InsertAt(8, 6);  // beyond: the gap is zero-filled
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 9, 9, 2, 3, 4, 0, 0, 6}));
  a.RemoveAt(1, 2);
  a.RemoveAt(a.GetUpperBound());
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 2, 3, 4, 0, 0}));
  a.RemoveAt(4, 2);
  a.RemoveAt(0, 0);
  a.InsertAt(0, 5, 0);
  CDWordArray b = Make({7, 8});
  a.InsertAt(2, &b);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 2, 7, 8, 3, 4}));
}

TEST(CArray, AppendCopyAndSelfReferences_StayIntact) {
  CDWordArray a = Make({1, 2});
  CDWordArray b = Make({3});
  EXPECT_EQ(a.Append(b), 2);
  EXPECT_EQ(a.Append(a), 3);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 2, 3, 1, 2, 3}));
  b.Copy(a);
  b.Copy(b);
  EXPECT_EQ(Items(b), Items(a));
  CDWordArray c = a;  // copies share nothing
  c[0] = 100;
  EXPECT_EQ(a[0], 1u);

  // Adding or inserting an element of the array itself while the block grows (ASan watches the copies).
  CStringArray texts;
  texts.Add(u"first text, long enough to live on the heap");
  for (int i = 0; i < 100; ++i) texts.Add(texts[0]);
  texts.InsertAt(0, texts[50], 3);
  texts.SetAtGrow(500, texts[1]);
  EXPECT_EQ(texts.GetSize(), 501);
  EXPECT_EQ(texts[500], u"first text, long enough to live on the heap");
  EXPECT_TRUE(texts[499].IsEmpty());
}

TEST(CArray, TypedArrays_TakeTheirElementTypes) {
  CStringArray options;
  options.Add(u"Off");
  options.Add(CString(u"On"));
  options.SetAt(0, u"Auto");
  EXPECT_EQ(options[0], u"Auto");
  EXPECT_EQ(options.GetAt(1), u"On");

  int x = 0;
  CPtrArray pointers;
  pointers.Add(&x);
  pointers.Add(nullptr);
  EXPECT_EQ(pointers[0], &x);
  pointers.SetSize(3);
  EXPECT_EQ(pointers[2], nullptr);
  pointers.RemoveAll();  // owns nothing

  CByteArray bytes;
  bytes.SetSize(2);
  bytes[1] = 0xFF;
  CWordArray words;
  words.Add(0xFFFF);
  CUIntArray uints;
  uints.Add(3000000000u);
  EXPECT_EQ(bytes[0] + bytes[1], 0xFF);
  EXPECT_EQ(words[0], 0xFFFF);
  EXPECT_EQ(uints[0], 3000000000u);
}

}  // namespace
