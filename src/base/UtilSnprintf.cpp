#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

class Writer {
  public:
    Writer(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {}
    void Put(char c) {
        if (size_ > 0 && written_ + 1 < size_) buffer_[written_++] = c;
    }
    void Put(const char* s) {
        while (*s)
            Put(*s++);
    }
    int Finish() {
        if (size_ > 0) buffer_[written_] = '\0';
        return static_cast<int>(written_);
    }

  private:
    char* buffer_;
    std::size_t size_;
    std::size_t written_ = 0;
};

// Digits of `value` in `base` (upper-case), zero-padded to `minDigits`.
void PutNumber(Writer& out, uint64_t value, unsigned base, int minDigits) {
    char digits[32];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value != 0 && n < 32);
    for (int i = n; i < minDigits; ++i)
        out.Put('0');
    while (n > 0)
        out.Put(digits[--n]);
}

} // namespace

int UTIL_snprintf(char* buffer, std::size_t size, const char* format,
                  std::initializer_list<FmtArg> args) {
    Writer out(buffer, size);
    auto arg = args.begin();
    auto next = [&]() -> FmtArg {
        if (arg == args.end()) return FmtArg(0);
        return *arg++;
    };
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        ++p;
        int minDigits = 0;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                minDigits = minDigits * 10 + (*p++ - '0');
            if (minDigits > 32) minDigits = 32;
        }
        if (*p == 'l') ++p;
        if (*p == '\0') break;
        FmtArg value = next();
        switch (*p) {
        case 'd': {
            auto v = static_cast<int32_t>(value.Integer());
            if (v < 0) out.Put('-');
            PutNumber(out, v < 0 ? -static_cast<int64_t>(v) : v, 10, minDigits);
            break;
        }
        case 'u':
            PutNumber(out, static_cast<uint32_t>(value.Integer()), 10, minDigits);
            break;
        case 'x':
        case 'X':
            PutNumber(out, static_cast<uint32_t>(value.Integer()), 16, minDigits);
            break;
        case 'p':
            PutNumber(out, static_cast<uint32_t>(value.Integer()), 16, 8);
            break;
        case 's':
            out.Put(value.Text());
            break;
        default:
            break; // unknown conversion: the argument is consumed, nothing is printed
        }
    }
    return out.Finish();
}

std::string UTIL_format(const char* format, std::initializer_list<FmtArg> args, std::size_t size) {
    std::string buffer(size, '\0');
    int n = UTIL_snprintf(buffer.data(), size, format, args);
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

} // namespace vantrel
