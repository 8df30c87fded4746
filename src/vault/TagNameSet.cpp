#include "vault/TagNameSet.h"

namespace quillor {

TagNameSet::TagNameSet() : m_slots(64, 0) {}

bool TagNameSet::insert(QStringView name)
{
    const size_t h = hash(name);
    const size_t slot = slotOf(name, h);
    if (m_slots[slot] != 0)
        return false;
    m_entries.push_back({h, m_units.size(), size_t(name.size())});
    m_units.insert(m_units.end(), name.utf16(), name.utf16() + name.size());
    m_slots[slot] = m_entries.size();
    // At most half full, so that probes stay short.
    if (m_entries.size() * 2 > m_slots.size())
        grow();
    return true;
}

void TagNameSet::grow()
{
    m_slots.assign(m_slots.size() * 2, 0);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        size_t slot = m_entries[i].hash & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = i + 1;
    }
}

} // namespace quillor
