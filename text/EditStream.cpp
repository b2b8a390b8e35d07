#include "text/EditStream.h"

#include <algorithm>
#include <vector>

namespace brimwell {

std::string ReadEditStream(EditStream& es) {
    es.dwError = 0;
    std::string data;
    if (!es.pfnCallback) {
        return data;
    }
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(RICHTEXT_STREAM_PIECE));
    while (data.size() < RICHTEXT_MAX_STREAM) {
        std::int32_t handed = 0;
        const std::uint32_t error =
            es.pfnCallback(es.dwCookie, piece.data(), RICHTEXT_STREAM_PIECE, &handed);
        if (error != 0) {
            es.dwError = error;
            break;
        }
        if (handed <= 0) {
            break;
        }
        data.append(reinterpret_cast<const char*>(piece.data()),
                    static_cast<std::size_t>(std::min(handed, RICHTEXT_STREAM_PIECE)));
    }
    return data;
}

} // namespace brimwell
