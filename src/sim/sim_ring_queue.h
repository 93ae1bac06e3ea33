#pragma once
// Monotone priority queue for keys that never lie more than a known span
// above the last one popped: a ring of buckets, one per key of the span,
// with a bitmap over them. Of equal keys the one pushed last comes out
// first. The route searches of public transport run on it.
#include <cstddef>
#include <cstdint>
#include <vector>

class CSimRingQueue {
 public:
  static constexpr int kMaxSpan = 1 << 16;
  // Empties the queue for keys within `span` (below kMaxSpan) of the last
  // popped one.
  void Reset(int span);
  bool Empty() const { return m_size == 0; }
  void Push(uint64_t key, int node) {
    const size_t slot = static_cast<size_t>(key) & m_mask;
    const int index = static_cast<int>(m_items.size());
    m_items.push_back({node, m_head[slot]});
    m_head[slot] = index;
    m_bits[slot >> 6] |= uint64_t{1} << (slot & 63);
    ++m_size;
  }
  void Pop(uint64_t& key, int& node) {
    const size_t pos = static_cast<size_t>(m_last) & m_mask;
    const size_t wordMask = m_bits.size() - 1;
    size_t word = pos >> 6;
    uint64_t bits = m_bits[word] & (~uint64_t{0} << (pos & 63));
    while (!bits) bits = m_bits[word = (word + 1) & wordMask];
    const size_t slot = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
    key = m_last + ((slot - pos) & m_mask);
    const Item it = m_items[static_cast<size_t>(m_head[slot])];
    m_head[slot] = it.next;
    if (it.next < 0) m_bits[word] &= ~(uint64_t{1} << (slot & 63));
    --m_size;
    m_last = key;
    node = it.node;
  }

 private:
  struct Item {
    int node;
    int next;
  };
  std::vector<int> m_head;
  std::vector<uint64_t> m_bits;
  std::vector<Item> m_items;
  uint64_t m_last = 0;
  size_t m_mask = 0;
  size_t m_size = 0;
};
