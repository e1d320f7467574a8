#pragma once
// The program's own small text formatter. It knows %d, %u, %x and %X (both upper-case), %p
// (eight hex digits) and %s; an optional "." with digits before the conversion gives the
// minimum digit count (zero-padded) and an "l" is skipped. Any other conversion character
// consumes its argument and prints nothing. Output is cut to size - 1 characters.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

namespace vantrel {

class FmtArg {
  public:
    template <typename T>
    requires std::is_integral_v<T> FmtArg(T v)
        : kind_(Kind::Integer), integer_(static_cast<int64_t>(v)) {}
    FmtArg(const char* s) : kind_(Kind::Text), text_(s) {}
    FmtArg(const std::string& s) : kind_(Kind::Text), text_(s.c_str()) {}
    FmtArg(const void* p)
        : kind_(Kind::Integer), integer_(static_cast<int64_t>(reinterpret_cast<uintptr_t>(p))) {}

    int64_t Integer() const { return kind_ == Kind::Integer ? integer_ : 0; }
    const char* Text() const { return kind_ == Kind::Text && text_ ? text_ : "(null)"; }

  private:
    enum class Kind { Integer, Text } kind_;
    int64_t integer_ = 0;
    const char* text_ = nullptr;
};

// Writes at most size - 1 characters and a terminator; returns the characters written.
int UTIL_snprintf(char* buffer, std::size_t size, const char* format,
                  std::initializer_list<FmtArg> args = {});

// The same into a string, cut as a buffer of `size` bytes would cut it.
std::string UTIL_format(const char* format, std::initializer_list<FmtArg> args = {},
                        std::size_t size = 200);

} // namespace vantrel
