#include "PickedChoiced.h"

#include <algorithm>

std::int32_t IndexOfObject(const TEnginePickedChoiced& list, const void* object) {
    for (std::size_t i = 0; i < list.Entries.size(); ++i)
        if (list.Entries[i].Object == object)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool ContainsObject(const TEnginePickedChoiced& list, const void* object) {
    return IndexOfObject(list, object) >= 0;
}

void RemoveObject(TEnginePickedChoiced& list, const void* object) {
    std::erase_if(list.Entries, [&](const TEnginePickedChoicedEntry& e) { return e.Object == object; });
}
