// ColumnStore: one growable column of plain numbers for the logger table. A large column lives
// in its own memory mapping, so growing it remaps pages instead of copying rows, and rows never
// used take no memory.
#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace logger {

namespace columnmemory {
// Fresh pages of a mapping are zero already; below this size the C heap is used.
constexpr std::size_t mappedBytes = std::size_t(1) << 20;
// Returns the new block (old contents kept up to keepBytes) or nullptr; *mapped tells the kind.
void* grow(void* old, std::size_t oldBytes, std::size_t keepBytes, std::size_t newBytes,
           bool& mapped);
void release(void* p, std::size_t bytes, bool mapped);
// Faults in the pages of [begin, end) of a mapping in one call instead of one fault per page
// as the rows are written (a large saving on virtual machines); a hint, failures are ignored.
void prefault(void* begin, std::size_t bytes);
}  // namespace columnmemory

template <typename T>
class ColumnStore final {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    ColumnStore() = default;
    ~ColumnStore() { release(); }
    ColumnStore(const ColumnStore&) = delete;
    ColumnStore& operator=(const ColumnStore&) = delete;
    ColumnStore(ColumnStore&& other) noexcept { swap(other); }
    ColumnStore& operator=(ColumnStore&& other) noexcept
    {
        ColumnStore moved(std::move(other));
        swap(moved);
        return *this;
    }
    void swap(ColumnStore& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_touched, other.m_touched);
        std::swap(m_mapped, other.m_mapped);
        std::swap(m_prefaulted, other.m_prefaulted);
    }

    // Sets the number of rows; new rows are 0. Returns false, changing nothing, when the
    // memory cannot be had.
    bool resize(qint64 rows)
    {
        if (rows < 0)
            return false;
        if (rows > m_capacity) {
            // Grow by at least half again so that adding one row at a time stays cheap; if
            // that much is not there, try the exact size.
            const qint64 roomy = std::max(rows, m_capacity + m_capacity / 2);
            if (!reallocate(roomy) && !reallocate(rows))
                return false;
        }
        // Rows beyond the ones ever used are still fresh zero pages when mapped; they are
        // faulted in ahead, a bounded stretch at a time so that memory is not taken early.
        if (m_mapped && rows > m_prefaulted) {
            const qint64 ahead = std::min(m_capacity, std::max(rows, m_prefaulted + prefaultRows));
            columnmemory::prefault(m_data + m_prefaulted,
                                   std::size_t(ahead - m_prefaulted) * sizeof(T));
            m_prefaulted = ahead;
        }
        const qint64 dirtyEnd = m_mapped ? std::min(rows, m_touched) : rows;
        if (dirtyEnd > m_size)
            std::memset(static_cast<void*>(m_data + m_size), 0,
                        std::size_t(dirtyEnd - m_size) * sizeof(T));
        m_size = rows;
        m_touched = std::max(m_touched, rows);
        return true;
    }
    void release()
    {
        columnmemory::release(m_data, std::size_t(m_capacity) * sizeof(T), m_mapped);
        m_data = nullptr;
        m_size = m_capacity = m_touched = m_prefaulted = 0;
        m_mapped = false;
    }

    qint64 size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T& operator[](qint64 i) { return m_data[i]; }
    const T& operator[](qint64 i) const { return m_data[i]; }

private:
    bool reallocate(qint64 capacity)
    {
        if (quint64(capacity) > quint64(PTRDIFF_MAX) / sizeof(T))
            return false;
        bool mapped = m_mapped;
        void* p = columnmemory::grow(m_data, std::size_t(m_capacity) * sizeof(T),
                                     std::size_t(m_size) * sizeof(T),
                                     std::size_t(capacity) * sizeof(T), mapped);
        if (!p)
            return false;
        if (mapped && !m_mapped)
            m_touched = m_prefaulted = m_size;  // the copy wrote these rows; the rest is fresh
        m_data = static_cast<T*>(p);
        m_capacity = capacity;
        m_mapped = mapped;
        return true;
    }

    T* m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_capacity = 0;
    qint64 m_touched = 0;     // rows ever in use (beyond them a mapping is still zero)
    qint64 m_prefaulted = 0;  // rows whose pages are faulted in
    bool m_mapped = false;
    // Rows faulted in beyond the ones asked for when growing a row at a time (256 KB of floats).
    static constexpr qint64 prefaultRows = qint64(256 * 1024 / sizeof(T));
};

}  // namespace logger
