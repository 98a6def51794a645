#include "ondrelo/Format.h"

namespace ondrelo {

std::string FormatText(const std::string& format, std::initializer_list<std::string> values) {
    std::string out;
    out.reserve(format.size());
    auto next = values.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            char d = format[i + 1];
            if (d == '%') {
                out += '%';
                ++i;
                continue;
            }
            if ((d == 's' || d == 'd') && next != values.end()) {
                out += *next++;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace ondrelo
