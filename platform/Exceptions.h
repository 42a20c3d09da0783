// The class library's exceptions that the layer raises. Only one is raised here: the invalid-argument
// error of an array index outside the array (Arrays.h), which the programs' text tables rely on instead
// of reading past their end. Thrown by value and caught by reference (std::exception is the base, so a
// message loop that guards its handlers catches it too).
#pragma once

#include <exception>

class CException : public std::exception {
public:
  const char* what() const noexcept override { return "class library exception"; }
};

class CInvalidArgException : public CException {
public:
  const char* what() const noexcept override { return "invalid argument"; }
};

// Raises CInvalidArgException.
[[noreturn]] inline void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
