// The class library's growable arrays: CArray<TYPE, ARG_TYPE> and the typed arrays the programs name
// (CStringArray for text tables and choice lists, CDWordArray, CWordArray, CByteArray, CUIntArray,
// CPtrArray). Elements live in one contiguous block (GetData), indices are INT_PTR from 0. Not
// thread-safe per object, like the original: an array shared between threads needs its owner's lock.
//
// Bounds: every indexed access (GetAt, SetAt, ElementAt, operator[], RemoveAt, and a negative index or
// size anywhere) is checked; an index outside the array raises CInvalidArgException (Exceptions.h), the
// class library's invalid-argument error, and changes nothing. Nothing is ever read or written outside
// the block. SetAtGrow and InsertAt beyond the end grow the array, filling the gap with value-initialised
// elements (zero for numbers and pointers), as SetSize does.
//
// Unlike the original the arrays may be copied (the copy shares nothing).
#pragma once

#include <utility>
#include <vector>

#include "CString.h"
#include "Exceptions.h"
#include "WinTypes.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
  CArray() = default;
  virtual ~CArray() = default;
  CArray(const CArray&) = default;
  CArray& operator=(const CArray&) = default;

  // Number of elements; GetUpperBound is one less (-1 when empty).
  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty() ? TRUE : FALSE; }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }

  // Grows with value-initialised elements or cuts the end off; growBy is accepted and not needed.
  void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
    (void)growBy;
    if (newSize < 0) AfxThrowInvalidArgException();
    m_data.resize(static_cast<size_t>(newSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR index) const { return m_data[Checked(index)]; }
  TYPE& GetAt(INT_PTR index) { return m_data[Checked(index)]; }
  void SetAt(INT_PTR index, ARG_TYPE element) { m_data[Checked(index)] = element; }
  const TYPE& ElementAt(INT_PTR index) const { return m_data[Checked(index)]; }
  TYPE& ElementAt(INT_PTR index) { return m_data[Checked(index)]; }
  const TYPE& operator[](INT_PTR index) const { return m_data[Checked(index)]; }
  TYPE& operator[](INT_PTR index) { return m_data[Checked(index)]; }

  // The element block, null when the array is empty; valid until the array's size changes.
  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  // Sets the element, growing the array to index + 1 first when needed.
  void SetAtGrow(INT_PTR index, ARG_TYPE element) {
    if (index < 0) AfxThrowInvalidArgException();
    TYPE copy(element);  // element may live in the block that grows
    if (static_cast<size_t>(index) >= m_data.size()) m_data.resize(static_cast<size_t>(index) + 1);
    m_data[static_cast<size_t>(index)] = std::move(copy);
  }
  // Index of the new last element.
  INT_PTR Add(ARG_TYPE element) {
    m_data.push_back(element);
    return GetSize() - 1;
  }
  // Appends the other array's elements; returns the index of the first appended one.
  INT_PTR Append(const CArray& other) {
    INT_PTR first = GetSize();
    if (&other == this) {
      std::vector<TYPE> copy(m_data);
      m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
      m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
    }
    return first;
  }
  void Copy(const CArray& other) {
    if (&other != this) m_data = other.m_data;
  }

  // Inserts count copies of element before index (0..size; beyond the size the array grows first).
  // A negative index or count raises; a count of 0 does nothing.
  void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1) {
    if (index < 0 || count < 0) AfxThrowInvalidArgException();
    if (count == 0) return;
    TYPE copy(element);
    if (static_cast<size_t>(index) > m_data.size()) m_data.resize(static_cast<size_t>(index));
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), copy);
  }
  // Inserts a copy of every element of another array before start.
  void InsertAt(INT_PTR start, const CArray* other) {
    if (!other || start < 0) AfxThrowInvalidArgException();
    std::vector<TYPE> copy(other->m_data);
    if (static_cast<size_t>(start) > m_data.size()) m_data.resize(static_cast<size_t>(start));
    m_data.insert(m_data.begin() + start, copy.begin(), copy.end());
  }
  // Removes count elements from index; raises unless all of them exist.
  void RemoveAt(INT_PTR index, INT_PTR count = 1) {
    if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index) AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
  }

private:
  size_t Checked(INT_PTR index) const {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    return static_cast<size_t>(index);
  }

  std::vector<TYPE> m_data;
};

// Texts: Add, SetAt and InsertAt also take a UTF-16 literal.
class CStringArray : public CArray<CString, const CString&> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CUIntArray : public CArray<UINT, UINT> {};
// Pointers, not owned: RemoveAll and the destructor delete nothing.
class CPtrArray : public CArray<void*, void*> {};
