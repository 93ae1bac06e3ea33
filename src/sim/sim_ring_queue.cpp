#include "sim/sim_ring_queue.h"

void CSimRingQueue::Reset(int span) {
  size_t size = 64;
  while (size <= static_cast<size_t>(span)) size *= 2;
  if (m_head.size() != size || m_size > 0) {
    m_head.assign(size, -1);
    m_bits.assign(size / 64, 0);
  }
  m_mask = size - 1;
  m_items.clear();
  m_size = 0;
  m_last = 0;
}
