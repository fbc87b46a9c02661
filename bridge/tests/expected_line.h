// Expected journal lines of the stand-in, built argument by argument in the
// journal's own format (see standin/journal.h).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "quarnel.h"

namespace expected {

// The journal's quoting of the bytes of a solver text.
inline std::string quoted(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c <= 0x7e) {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out + "\"";
}

// `bytes` cut or blank-filled to n.
inline std::string fixed(const std::string& bytes, std::size_t n) {
  std::string t = bytes.substr(0, n);
  t.resize(n, ' ');
  return t;
}

// One journal line, argument by argument: texts are cut or blank-filled to
// their width (a name's unless told), hidden lengths a name's unless told.
class Line {
 public:
  explicit Line(const std::string& routine) : line_(routine) {}
  Line& text(const char* name, const std::string& bytes,
             std::size_t n = kNameWidth) {
    return add(name, quoted(fixed(bytes, n)));
  }
  Line& texts(const char* name, const std::vector<std::string>& names,
              std::size_t n) {
    std::string v = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i) v += ',';
      v += quoted(fixed(names[i], n));
    }
    return add(name, v + "]");
  }
  Line& i32(const char* name, long value) {
    return add(name, std::to_string(value));
  }
  Line& f64(const char* name, double value) {
    return add(name, fakejni::number(value));
  }
  Line& len(const char* name, std::size_t n = kNameWidth) {
    return add(name, std::to_string(n));
  }
  Line& ints(const char* name, const std::vector<int>& values) {
    return add(name, fakejni::list(values));
  }
  template <typename T>
  Line& ints(const char* name, const std::vector<T>& values) {
    return add(name, fakejni::list(values));
  }
  Line& doubles(const char* name, const std::vector<double>& values) {
    return add(name, fakejni::list(values));
  }
  Line& raw(const char* name, const std::string& value) {
    return add(name, value);
  }
  operator std::string() const { return line_; }
  const std::string& str() const { return line_; }

 private:
  Line& add(const char* name, const std::string& value) {
    line_ += ' ';
    line_ += name;
    line_ += '=';
    line_ += value;
    return *this;
  }
  std::string line_;
};

}  // namespace expected
