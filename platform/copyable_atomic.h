#pragma once

#include <atomic>

// An atomic value inside a record that is copied by value: the copy takes a snapshot of the value.
// Each load and store is atomic on its own; a copy as a whole is not.
template <class T>
class CCopyableAtomic {
public:
    CCopyableAtomic() = default;
    CCopyableAtomic(T value) : m_value(value) {}  // a record field is set like a plain value
    CCopyableAtomic(const CCopyableAtomic& other) : m_value(other.m_value.load()) {}
    CCopyableAtomic& operator=(const CCopyableAtomic& other) {
        m_value.store(other.m_value.load());
        return *this;
    }
    CCopyableAtomic& operator=(T value) {
        m_value.store(value);
        return *this;
    }

    operator T() const { return m_value.load(); }  // read like a plain value
    T Load() const { return m_value.load(); }
    void Store(T value) { m_value.store(value); }
    T Exchange(T value) { return m_value.exchange(value); }

private:
    std::atomic<T> m_value{};
};
