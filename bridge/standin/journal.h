// The stand-in's journal: one line per routine call, naming the routine and
// every argument it received, so tests can check exactly what reached it.
//
// The journal is written to the file named by the environment variable
// QUARNEL_JOURNAL (appended, flushed after each line). Without it nothing is
// formatted at all, so benchmarks measure the bridge and not the journal.
//
// Line format: ROUTINE followed by " name=value" per argument, where a value
// is
//   a text:    "bytes" with bytes 0x20..0x7e as they are except \" and \\,
//              every other byte as \xHH; exactly the bytes of the hidden
//              length (or count x length for a list, shown as [..,..]);
//   an int:    decimal;
//   a double:  %.17g (round-trips bit for bit);
//   an array:  [v,v,...] of ints or doubles, for the count the call gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "quarnel.h"

namespace quarnel {

bool journalEnabled();

// The methods return at once when the journal is off, without a call, so
// that benchmarks see the bridge and hardly the stand-in.
class Journal {
 public:
  explicit Journal(const char* routine) : on_(journalEnabled()) {
    if (on_) line_ = routine;
  }
  ~Journal() {
    if (on_) write();
  }
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  Journal& text(const char* name, const char* bytes, std::size_t n) {
    if (on_) addText(name, bytes, n);
    return *this;
  }
  Journal& texts(const char* name, const char* bytes, long count,
                 std::size_t n) {
    if (on_) addTexts(name, bytes, count, n);
    return *this;
  }
  Journal& i32(const char* name, int value) {
    if (on_) addI32(name, value);
    return *this;
  }
  Journal& f64(const char* name, double value) {
    if (on_) addF64(name, value);
    return *this;
  }
  Journal& ints(const char* name, const int* values, long n) {
    if (on_) addInts(name, values, n);
    return *this;
  }
  Journal& doubles(const char* name, const double* values, long n) {
    if (on_) addDoubles(name, values, n);
    return *this;
  }
  // Records a hidden length; see checkLength.
  Journal& length(const char* name, FLen value) {
    if (on_) addLength(name, value);
    return *this;
  }
  // The hidden length of the text `textName`, named "<textName>Len".
  Journal& lengthOf(const char* textName, FLen value) {
    if (on_) addLength(textName, value, "Len");
    return *this;
  }

 private:
  void write();
  void addText(const char* name, const char* bytes, std::size_t n);
  void addTexts(const char* name, const char* bytes, long count, std::size_t n);
  void addI32(const char* name, int value);
  void addF64(const char* name, double value);
  void addInts(const char* name, const int* values, long n);
  void addDoubles(const char* name, const double* values, long n);
  void addLength(const char* name, FLen value, const char* suffix = "");

  bool on_;
  std::string line_;
};

// A hidden length must be exactly the width the routine expects, read as a
// full 64-bit value: anything else (garbage in the upper half above all)
// ends the process with a message on standard error.
[[noreturn]] void failLength(const char* routine, const char* name, FLen got,
                             FLen expected);
inline void checkLength(const char* routine, const char* name, FLen got,
                        FLen expected) {
  if (got != expected) failLength(routine, name, got, expected);
}

// The journal line of a routine whose first text is the subbasin name, and
// perhaps a second text after it (a boundary or a method name): checks
// their hidden lengths, begins the line with the texts and, once the
// routine's own arguments are added through journal(), ends it with the
// lengths.
class NamedCall {
 public:
  NamedCall(const char* routine, const char* subbasin, FLen subbasinLen)
      : journal_(routine), subbasinLen_(subbasinLen) {
    checkLength(routine, "subbasinLen", subbasinLen, kNameWidth);
    journal_.text("subbasin", subbasin, subbasinLen);
  }
  // `second` is named `secondName`, its length `secondName` + "Len".
  NamedCall(const char* routine, const char* subbasin, FLen subbasinLen,
            const char* secondName, const char* second, FLen secondLen,
            FLen secondWidth = kNameWidth);
  ~NamedCall();
  NamedCall(const NamedCall&) = delete;
  NamedCall& operator=(const NamedCall&) = delete;
  Journal& journal() { return journal_; }

 private:
  Journal journal_;
  FLen subbasinLen_;
  const char* secondName_ = nullptr;
  FLen secondLen_ = 0;
};

// The solver's key for a name: the text without its trailing blanks.
std::string nameKey(const char* bytes, std::size_t n);
// The same key without a copy, for lookups.
std::string_view nameView(const char* bytes, std::size_t n);

}  // namespace quarnel
