#include "core/name_filter.h"

#include "core/cp1251.h"

namespace tarvel {

bool IsNameCharAccepted(char16_t typed) {
    if (typed >= 0xD800 && typed <= 0xDFFF) {
        return false; // half of a surrogate pair has no code of its own
    }
    const std::optional<unsigned char> code = ToCp1251(typed);
    if (!code) {
        return false;
    }
    return *code == 8 || *code == 13 || *code == 32 || *code >= 192;
}

} // namespace tarvel
