#pragma once
// Growable arrays with the index-based interface the programs use (portable, header-only).
#include <cstddef>
#include <utility>
#include <vector>

#include "CString.h"

template <class T>
class CArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(int size) { m_items.resize(size > 0 ? static_cast<size_t>(size) : 0); }

    T& GetAt(int index) { return m_items.at(static_cast<size_t>(index)); }
    const T& GetAt(int index) const { return m_items.at(static_cast<size_t>(index)); }
    void SetAt(int index, const T& value) { GetAt(index) = value; }
    T& operator[](int index) { return GetAt(index); }
    const T& operator[](int index) const { return GetAt(index); }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }

    int Add(const T& value) { m_items.push_back(value); return GetUpperBound(); }
    int Add(T&& value) { m_items.push_back(std::move(value)); return GetUpperBound(); }
    int Append(const CArray& other) { int first = GetSize(); m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end()); return first; }
    // Inserting past the end pads with default values, as SetAtGrow would.
    void InsertAt(int index, const T& value, int count = 1)
    {
        if (index < 0 || count <= 0)
            return;
        if (index > GetSize())
            SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
    }
    void SetAtGrow(int index, const T& value) { if (index >= GetSize()) SetSize(index + 1); GetAt(index) = value; }
    void RemoveAt(int index, int count = 1)
    {
        if (index < 0 || count <= 0 || index >= GetSize())
            return;
        int last = index + count > GetSize() ? GetSize() : index + count;
        m_items.erase(m_items.begin() + index, m_items.begin() + last);
    }
    void RemoveAll() { m_items.clear(); }

    typename std::vector<T>::iterator begin() { return m_items.begin(); }
    typename std::vector<T>::iterator end() { return m_items.end(); }
    typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

using CStringArray = CArray<CString>;
using CPtrArray = CArray<void*>;
using CDWordArray = CArray<unsigned long>;
using CUIntArray = CArray<unsigned int>;
