// The library's ordered lists with 1-based positions. Lists hold shared
// pointers to records (or artist names by value): removing an element never
// destroys a record that another list still holds.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CSongItem;
class CPlayListItem;

template <typename Element> class CPositionList {
public:
    int GetCount() const { return static_cast<int>(m_elements.size()); }
    bool IsEmpty() const { return m_elements.empty(); }
    bool IsValidPosition(int position) const { return position >= 1 && position <= GetCount(); }

    // The element at a 1-based position; an empty element when out of range.
    Element GetAt(int position) const {
        return IsValidPosition(position) ? m_elements[position - 1] : Element();
    }
    void SetAt(int position, Element element) {
        if (IsValidPosition(position)) {
            m_elements[position - 1] = std::move(element);
        }
    }
    void AddTail(Element element) { m_elements.push_back(std::move(element)); }
    void InsertAt(int position, Element element) {
        if (position >= 1 && position <= GetCount() + 1) {
            m_elements.insert(m_elements.begin() + (position - 1), std::move(element));
        }
    }
    // Unlinks the element; out-of-range positions change nothing.
    void RemoveAt(int position) {
        if (IsValidPosition(position)) {
            m_elements.erase(m_elements.begin() + (position - 1));
        }
    }
    void RemoveAll() {
        m_elements.clear();
        m_elements.shrink_to_fit();
    }
    void Exchange(int first, int second) {
        if (IsValidPosition(first) && IsValidPosition(second)) {
            std::swap(m_elements[first - 1], m_elements[second - 1]);
        }
    }
    void Reserve(int count) { m_elements.reserve(count > 0 ? count : 0); }

    // First-to-last traversal.
    typename std::vector<Element>::const_iterator begin() const { return m_elements.begin(); }
    typename std::vector<Element>::const_iterator end() const { return m_elements.end(); }
    // Direct access for sorting and shuffling, which reorder in place.
    std::vector<Element>& Elements() { return m_elements; }
    const std::vector<Element>& Elements() const { return m_elements; }

private:
    std::vector<Element> m_elements;
};

using CSongList = CPositionList<std::shared_ptr<CSongItem>>;
using CMusicList = CPositionList<std::shared_ptr<CPlayListItem>>;
using CArtistList = CPositionList<std::string>;
