#include "NewGuidString.h"

#include <uuid/uuid.h>

std::string NewGuidString() {
    uuid_t id;
    // A result of -1 only says that uniqueness across processes could not be guaranteed by the
    // clock daemon; the identifier is still unique on this machine and serves like any other.
    uuid_generate_time_safe(id);
    if (uuid_is_null(id)) return {};
    char text[37];
    uuid_unparse_lower(id, text);
    return std::string(text, 36);
}
