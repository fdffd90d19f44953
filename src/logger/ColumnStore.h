// ColumnStore: one growable column of plain numbers for the logger table. Large columns live in
// their own memory mapping, so growing one (by realloc, which the C library turns into a page
// remapping) neither copies the rows nor touches pages that are not used yet.
#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace logger {

template <typename T>
class ColumnStore final {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    ColumnStore() = default;
    ~ColumnStore() { std::free(m_data); }
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
        if (rows > m_size)
            std::memset(m_data + m_size, 0, std::size_t(rows - m_size) * sizeof(T));
        m_size = rows;
        return true;
    }
    void release()
    {
        std::free(m_data);
        m_data = nullptr;
        m_size = m_capacity = 0;
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
        void* p = std::realloc(m_data, std::size_t(capacity) * sizeof(T));
        if (!p)
            return false;
        m_data = static_cast<T*>(p);
        m_capacity = capacity;
        return true;
    }

    T* m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_capacity = 0;
};

}  // namespace logger
