#pragma once

#include <QStringView>

#include <vector>

namespace quillor {

// Exact tag names, looked up in place from a view: the index asks about
// every tag candidate of every note, and nearly all are names met before.
class TagNameSet {
public:
    TagNameSet();

    bool contains(QStringView name) const { return indexOf(name) >= 0; }

    // Names are numbered from 0 in the order they were inserted; -1 for a name
    // that is not there.
    qsizetype indexOf(QStringView name) const { return qsizetype(m_slots[slotOf(name, hash(name))]) - 1; }
    QStringView at(qsizetype index) const
    {
        const Entry& entry = m_entries[size_t(index)];
        return QStringView(m_units.data() + entry.offset, qsizetype(entry.length));
    }
    qsizetype size() const { return qsizetype(m_entries.size()); }

    // False when the name was already there.
    bool insert(QStringView name);

    static size_t hash(QStringView name)
    {
        size_t h = 14695981039346656037ull;   // FNV-1a
        for (const QChar c : name)
            h = (h ^ c.unicode()) * 1099511628211ull;
        return h;
    }

private:
    struct Entry {
        size_t hash = 0;
        size_t offset = 0;   // into m_units
        size_t length = 0;
    };

    // The slot holding the name, or the empty one where it would go.
    size_t slotOf(QStringView name, size_t hash) const
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const size_t entry = m_slots[slot];
            if (entry == 0 || holds(m_entries[entry - 1], name, hash))
                return slot;
        }
    }

    bool holds(const Entry& entry, QStringView name, size_t hash) const
    {
        return entry.hash == hash && entry.length == size_t(name.size())
            && QStringView(m_units.data() + entry.offset, qsizetype(entry.length)) == name;
    }

    void grow();

    std::vector<size_t> m_slots;   // 1 + index into m_entries; 0 when empty
    std::vector<Entry> m_entries;
    std::vector<char16_t> m_units;   // every name, one after the other
};

} // namespace quillor
