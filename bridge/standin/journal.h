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

#include "quarnel.h"

namespace quarnel {

bool journalEnabled();

class Journal {
 public:
  explicit Journal(const char* routine);
  ~Journal();  // writes the line
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  Journal& text(const char* name, const char* bytes, std::size_t n);
  Journal& texts(const char* name, const char* bytes, long count,
                 std::size_t n);
  Journal& i32(const char* name, int value);
  Journal& f64(const char* name, double value);
  Journal& ints(const char* name, const int* values, long n);
  Journal& doubles(const char* name, const double* values, long n);
  // Records a hidden length; see checkLength.
  Journal& length(const char* name, FLen value);

 private:
  bool on_;
  std::string line_;
};

// A hidden length must be exactly the width the routine expects, read as a
// full 64-bit value: anything else (garbage in the upper half above all)
// ends the process with a message on standard error.
void checkLength(const char* routine, const char* name, FLen got,
                 FLen expected);

// The solver's key for a name: the text without its trailing blanks.
std::string nameKey(const char* bytes, std::size_t n);

}  // namespace quarnel
